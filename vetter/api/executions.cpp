#include "vetter/api/executions.h"

#include "vetter/api/console_writer.h"
#include "vetter/api/exports.h"
#include "vetter/api/guard.h"

#include "core/vetter/condition_data.h"
#include "core/vetter/executions.h"

#include "stub/util/handles.h"

#include <cstdio>
#include <memory>
#include <string>
#include <windows.h>

namespace vetter {

namespace {

bool Empty(const char* s) {
    return !s || !*s;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::string CurrentDirectory() {
    char dir[kPathSize] = {};
    DWORD n = GetCurrentDirectoryA(sizeof dir, dir);
    return n > 0 && n < sizeof dir ? std::string(dir, n) : std::string();
}

std::string CleanedFolder(const char* folder) {
    std::string copy(folder);
    std::string cleaned = TrimField(&copy[0]);
    if (cleaned.size() >= kPathSize) cleaned.resize(kPathSize - 1);
    return cleaned;
}

int ExtractFound(const char* sourceFolder, const char* target, const char* placeholder,
                 const char* pattern, const char* defaultName) {
    if (Empty(sourceFolder)) return 0;
    std::string source = CleanedFolder(sourceFolder);
    std::string to =
        ExtractTarget(target ? target : "", placeholder, CurrentDirectory(), defaultName);
    std::string search = source + "\\" + pattern;
    char found[MAX_PATH + 1] = {};
    if (!DLL_FindFirstFile(&search[0], found)) return 0;
    std::string from = source + "\\" + found;
    CopyFileA(from.c_str(), to.c_str(), FALSE); // the copy's success is not reported
    return 1;
}

} // namespace

int ExtractFile(const char* source, const char* target) {
    if (Empty(source) || Empty(target)) return 0;
    // Nothing copied is not a success: an unreadable source creates no target.
    FilePtr from(std::fopen(source, "r"));
    if (!from) return 0;
    FilePtr to(std::fopen(target, "w"));
    if (!to) return 0;
    bool copied = CopyTextLines(from.get(), to.get());
    bool closed = std::fclose(to.release()) == 0;
    return copied && closed ? 1 : 0;
}

int CreateBxArgFile(const char* targetFolder, const char* baseFolder) {
    if (Empty(targetFolder) || Empty(baseFolder)) return 0;
    std::string folder = BxArgFolder(targetFolder, baseFolder);
    std::string from = folder + (isOSTypeX64() ? "X64_bx.arg" : "X86_bx.arg");
    std::string to = folder + "bx.arg";
    CopyFileA(from.c_str(), to.c_str(), FALSE); // the copy's success is not reported
    return 1;
}

int ExtractBxParFile(const char* sourceFolder, const char* target) {
    return ExtractFound(sourceFolder, target, "<TargetParFilePath>", "*#bx.par", "bx.par");
}

int ExtractReleaseNotes(const char* sourceFolder, const char* target) {
    return ExtractFound(sourceFolder, target, "<TargetReleaseNotesPath>", "rel_note.txt",
                        "rel_note.txt");
}

int DisplayString(const char* text) {
    if (Empty(text)) return 0;
    ConsoleWriter console(true, "KTV Usage");
    console.Write(text);
    return 1;
}

int ShowHelp(const char* program, const char* version) {
    if (Empty(program) || Empty(version)) return 0;
    ConsoleWriter console(false, nullptr);
    for (const std::string& text : HelpTexts(program, version))
        console.Write(text.c_str());
    return 1;
}

} // namespace vetter

bool DLL_FindFirstFile(char* pattern, char* name) {
    return vetter::Guarded(false, [&] {
        if (!pattern || !name) return false;
        WIN32_FIND_DATAA data;
        win::FindHandle find(FindFirstFileA(pattern, &data));
        if (!find) return false;
        vetter::CopyCut(name, vetter::kOutSize, data.cFileName);
        return true;
    });
}
