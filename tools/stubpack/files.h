#pragma once
// File-system helpers of stubpack (plain stdio and std::filesystem).
#include "core/package/writer.h"

#include <string>
#include <vector>

namespace stubpack {

bool ReadWholeFile(const std::string& path, std::string& out);
// Every regular file below dir, sorted by stored name; fails on a name that
// cannot be stored or an entry that is not a regular file or folder.
bool ScanPayload(const std::string& dir, std::vector<package::PayloadFile>& files,
                 std::string& error);
// ASCII case-insensitive equality.
bool SameText(const std::string& a, const std::string& b);
// Runs a program found on PATH; its exit code, or -1 when it cannot start.
int RunProgram(const std::vector<std::string>& argv);
// The local-time DOS date of a file's modification time (0 when unknown).
uint32_t DosTimeOfFile(const std::string& path);
// Sets a file's modification time from a local-time DOS date.
bool SetFileDosTime(const std::string& path, uint32_t dosTime);

} // namespace stubpack
