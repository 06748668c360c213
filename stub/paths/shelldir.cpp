#include "stub/paths/shelldir.h"

#include "stub/util/paths.h"
#include "stub/util/sysinfo.h"
#include "stub/util/utils.h"

#include <windows.h>

namespace shelldir {

namespace {

constexpr int kCsidlPersonal = 5;
constexpr int kCsidlPrograms = 2;
constexpr int kCsidlStartMenu = 11;
constexpr int kCsidlDesktopDirectory = 16;
constexpr int kCsidlCommonStartMenu = 22;
constexpr int kCsidlCommonPrograms = 23;
constexpr int kCsidlCommonDesktopDirectory = 25;
constexpr int kCsidlAppData = 26;
constexpr int kCsidlLocalAppData = 28;
constexpr int kCsidlCommonAppData = 35;
constexpr int kCsidlCommonDocuments = 46;
constexpr int kCsidlFlagCreate = 0x8000;

using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
using GetSpecialFolderPathFn = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);

bool g_hidden = false;

bool IsFolder(const std::string& path) {
    if (path.empty()) return false;
    DWORD a = GetFileAttributesA(PathSlash(path, true).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Both shell calls write into a caller buffer of MAX_PATH bytes by contract.
std::string FromBuffer(const std::string& buffer) {
    return buffer.substr(0, buffer.find('\0'));
}

std::string ShellFolderPath(int csidl) {
    static const GetFolderPathFn fn = LoadProc<GetFolderPathFn>("SHFolder.dll", "SHGetFolderPathA");
    if (g_hidden || !fn) return std::string();
    std::string buffer(MAX_PATH + 1, '\0');
    if (fn(nullptr, csidl | kCsidlFlagCreate, nullptr, 0, &buffer[0]) != 0) return std::string();
    return FromBuffer(buffer);
}

std::string ShellSpecialFolderPath(int csidl) {
    static const GetSpecialFolderPathFn fn =
        LoadProc<GetSpecialFolderPathFn>("shell32.dll", "SHGetSpecialFolderPathA");
    if (g_hidden || !fn) return std::string();
    std::string buffer(MAX_PATH + 1, '\0');
    if (!fn(nullptr, &buffer[0], csidl, FALSE)) return std::string();
    return FromBuffer(buffer);
}

std::string Parent(const std::string& path) {
    std::string p = PathSlash(path, false);
    size_t cut = p.rfind('\\');
    return cut == std::string::npos ? std::string() : p.substr(0, cut);
}

// A shell folder, then `parents` parent steps, each only from an existing folder.
std::string ShellWithParents(int csidl, int parents) {
    std::string v = ShellFolderPath(csidl);
    for (int i = 0; i < parents && IsFolder(v); ++i)
        v = Parent(v);
    return IsFolder(v) ? v : std::string();
}

std::string Below(const std::string& base, const std::string& name) {
    return PathSlash(base, true) + name;
}

std::string Result(const std::string& path, bool withSlash) {
    return PathSlash(path, withSlash);
}

// First found candidate among shell value and fallbacks; the last fallback
// stands when nothing exists.
std::string FirstFound(std::initializer_list<std::string> candidates) {
    std::string last;
    for (const std::string& c : candidates) {
        if (IsFolder(c)) return c;
        last = c;
    }
    return last;
}

} // namespace

void SetShellFunctionsHidden(bool hidden) {
    g_hidden = hidden;
}

std::string ProfilesDir(bool withSlash) {
    std::string profiles = WindowsDir(true) + "Profiles\\" + RegisteredOwner();
    return Result(IsFolder(profiles) ? profiles : WindowsDir(false), withSlash);
}

std::string UserDir(bool withSlash) {
    std::string v = ShellWithParents(kCsidlPersonal, 1);
    return Result(v.empty() ? ProfilesDir(false) : v, withSlash);
}

std::string DocumentsAndSettingsDir(bool withSlash) {
    std::string v = ShellWithParents(kCsidlPersonal, 2);
    return Result(v.empty() ? ProfilesDir(false) : v, withSlash);
}

std::string AllUsersDir(bool withSlash) {
    std::string v = ShellWithParents(kCsidlCommonAppData, 1);
    return Result(v.empty() ? WindowsDir(false) : v, withSlash);
}

std::string UserAppDataDir(bool withSlash) {
    return Result(
        FirstFound({ShellFolderPath(kCsidlAppData), Below(ProfilesDir(false), "Application Data")}),
        withSlash);
}

std::string UserLocalAppDataDir(bool withSlash) {
    return Result(FirstFound({ShellFolderPath(kCsidlLocalAppData),
                              Below(ProfilesDir(false), "Application Data")}),
                  withSlash);
}

std::string AllUsersAppDataDir(bool withSlash) {
    return Result(FirstFound({ShellFolderPath(kCsidlCommonAppData),
                              Below(WindowsDir(false), "Application Data")}),
                  withSlash);
}

std::string MyDocumentsDir(bool withSlash) {
    return Result(
        FirstFound({ShellFolderPath(kCsidlPersonal), Below(ProfilesDir(false), "My Documents")}),
        withSlash);
}

std::string AllUsersDocumentsDir(bool withSlash) {
    return Result(
        FirstFound({ShellFolderPath(kCsidlCommonDocuments), Below(WindowsDir(false), "Documents")}),
        withSlash);
}

std::string UserStartMenuDir(bool withSlash) {
    return Result(FirstFound({ShellSpecialFolderPath(kCsidlStartMenu), UserDir(true) + "Start Menu",
                              AllUsersDir(true) + "Start Menu"}),
                  withSlash);
}

std::string AllUsersStartMenuDir(bool withSlash) {
    return Result(FirstFound({ShellSpecialFolderPath(kCsidlCommonStartMenu),
                              AllUsersDir(true) + "Start Menu"}),
                  withSlash);
}

std::string UserStartProgramMenuDir(bool withSlash) {
    return Result(
        FirstFound({ShellSpecialFolderPath(kCsidlPrograms), UserDir(true) + "Start Menu\\Programs",
                    AllUsersDir(true) + "Start Menu\\Programs"}),
        withSlash);
}

std::string AllUsersStartProgramMenuDir(bool withSlash) {
    return Result(FirstFound({ShellSpecialFolderPath(kCsidlCommonPrograms),
                              AllUsersDir(true) + "Start Menu\\Programs"}),
                  withSlash);
}

std::string UserDesktopDir(bool withSlash) {
    return Result(FirstFound({ShellSpecialFolderPath(kCsidlDesktopDirectory),
                              UserDir(true) + "Desktop", AllUsersDir(true) + "Desktop"}),
                  withSlash);
}

std::string AllUsersDesktopDir(bool withSlash) {
    return Result(FirstFound({ShellSpecialFolderPath(kCsidlCommonDesktopDirectory),
                              AllUsersDir(true) + "Desktop"}),
                  withSlash);
}

} // namespace shelldir
