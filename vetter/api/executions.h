#pragma once
// The six executions; each returns 1 when carried out, 0 otherwise.
namespace vetter {

int ExtractFile(const char* source, const char* target);
int CreateBxArgFile(const char* targetFolder, const char* baseFolder);
int ExtractBxParFile(const char* sourceFolder, const char* target);
int ExtractReleaseNotes(const char* sourceFolder, const char* target);
int DisplayString(const char* text);
int ShowHelp(const char* program, const char* version);

} // namespace vetter
