#include "stub/util/paths.h"

#include <windows.h>

#include <string>

namespace {

bool IsAnsiLeadByte(unsigned char c) {
    return IsDBCSLeadByte(c) != FALSE;
}

// Calls an API of the GetWindowsDirectory kind, growing the buffer as asked.
template <typename Api> std::string FolderFrom(Api api) {
    std::string buffer(261, '\0');
    for (int tries = 0; tries < 4; ++tries) {
        UINT n = api(&buffer[0], static_cast<UINT>(buffer.size()));
        if (n == 0) return std::string();
        if (n < buffer.size()) return buffer.substr(0, n);
        buffer.assign(static_cast<size_t>(n) + 1, '\0');
    }
    return std::string();
}

} // namespace

std::string PathSlash(const std::string& path, bool withSlash) {
    return PathSlashOf(path, withSlash, IsAnsiLeadByte);
}

std::string CleanPath(const std::string& path, bool dropSlash) {
    return CleanPathOf(path, dropSlash, IsAnsiLeadByte);
}

std::string ExePath(bool baseOnly) {
    std::string buffer(261, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string();
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        // Truncated: try again with room to spare (paths stop at 32767).
        if (buffer.size() > 65536) return std::string();
        buffer.assign(buffer.size() * 2, '\0');
    }
    return baseOnly ? FileBaseName(buffer, false) : buffer;
}

std::string ExeDir(bool withSlash) {
    const std::string exe = ExePath(false);
    const size_t cut = exe.find_last_of("\\/");
    if (cut == std::string::npos) return std::string();
    return PathSlash(exe.substr(0, cut + 1), withSlash);
}

std::string WindowsDir(bool withSlash) {
    return PathSlash(FolderFrom([](char* b, UINT n) { return GetWindowsDirectoryA(b, n); }),
                     withSlash);
}

std::string SystemDir(bool withSlash) {
    return PathSlash(FolderFrom([](char* b, UINT n) { return GetSystemDirectoryA(b, n); }),
                     withSlash);
}

std::string TempDir(bool withSlash) {
    return PathSlash(FolderFrom([](char* b, UINT n) {
                         return static_cast<UINT>(GetTempPathA(static_cast<DWORD>(n), b));
                     }),
                     withSlash);
}
