#include "stub/paths/runtimedir.h"

#include "core/util/text.h"
#include "stub/util/paths.h"
#include "stub/util/registry.h"
#include "stub/util/utils.h"

#include <windows.h>

namespace runtimedir {

namespace {

constexpr char kShellFoldersKey[] =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kCurrentVersionKey[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr char kStartMenuKey[] =
    "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

bool IsFolder(const std::string& path) {
    if (path.empty()) return false;
    DWORD a = GetFileAttributesA(PathSlash(path, true).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string FolderOf(const std::string& file) {
    size_t cut = file.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : file.substr(0, cut);
}

} // namespace

std::string WinDir(bool withSlash) {
    return WindowsDir(withSlash);
}

std::string WinSysDir(bool withSlash) {
    return SystemDir(withSlash);
}

std::string WinSys16Dir(bool withSlash) {
    std::string sys = SystemDir(false);
    int at = LastPos("32", sys);
    if (at > 0) {
        std::string cut = sys;
        cut.erase(static_cast<size_t>(at - 1), 2);
        if (IsFolder(cut)) return PathSlash(cut, withSlash);
    }
    std::string system = WindowsDir(true) + "System";
    if (IsFolder(system)) return PathSlash(system, withSlash);
    return PathSlash(sys, withSlash);
}

std::string FontDir(bool withSlash) {
    std::string v = RegReadString(kShellFoldersKey, "Fonts", "");
    if (!IsFolder(v)) v = WindowsDir(true) + "Fonts";
    return PathSlash(v, withSlash);
}

std::string ProgramFilesDir(bool withSlash) {
    return PathSlash(RegReadString(kCurrentVersionKey, "ProgramFilesDir", ""), withSlash);
}

std::string CommonFilesDir(bool withSlash) {
    return PathSlash(RegReadString(kCurrentVersionKey, "CommonFilesDir", ""), withSlash);
}

std::string StartMenuDir(bool withSlash) {
    return PathSlash(RegReadString(kStartMenuKey, "Start Menu", ""), withSlash);
}

std::string SrcDir(bool withSlash) {
    return ExeDir(withSlash);
}

std::string ServiceDir(bool withSlash) {
    return ExeDir(withSlash);
}

std::string OriginDir(bool withSlash) {
    static const std::string origin = [] {
        std::string exe = Unquote(GetCmdValue("/OriginExe", ""), false);
        if (exe.empty()) exe = ExePath(false);
        return PathSlash(FolderOf(exe), false);
    }();
    return PathSlash(origin, withSlash);
}

std::string TempDirectory(bool withSlash) {
    return TempDir(withSlash);
}

std::string RunTimeDir(int, bool) {
    return std::string();
}

} // namespace runtimedir
