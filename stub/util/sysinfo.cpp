#include "stub/util/sysinfo.h"

#include "core/util/ksub.h"
#include "core/util/numbers.h"
#include "core/util/text.h"
#include "stub/util/console.h"
#include "stub/util/paths.h"
#include "stub/util/registry.h"
#include "stub/util/utils.h"

#include <cstdio>
#include <exception>
#include <vector>

namespace {

// The whole version resource of a file; empty when it has none.
std::vector<char> VersionInfoOf(const std::string& file) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<char> info(size > 16384 ? size : 16384, '\0');
    if (!GetFileVersionInfoA(file.c_str(), 0, static_cast<DWORD>(info.size()), info.data()))
        return {};
    return info;
}

std::string KeyIfAsked(const std::string& version, int width, int count) {
    if (version.empty() || (width <= 1 && count >= 4)) return version;
    return VersionKey(version, width, count);
}

std::string ExceptionMessage() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown exception";
    }
}

} // namespace

std::string GetExeVersion(const std::string& file, int width, int count) {
    try {
        const std::string path = file.empty() ? ExePath(false) : file;
        std::vector<char> info = VersionInfoOf(path);
        if (info.empty()) return std::string();
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
            fixed == nullptr || length < sizeof(VS_FIXEDFILEINFO))
            return std::string();
        char text[64];
        std::snprintf(text, sizeof text, "%d.%d.%d.%d", HIWORD(fixed->dwFileVersionMS),
                      LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                      LOWORD(fixed->dwFileVersionLS));
        return KeyIfAsked(text, width, count);
    } catch (...) {
        utilout::Line(ExceptionLine("Utils.GetExeVersion()", "", ExceptionMessage()));
        return std::string();
    }
}

std::string GetProductVersion(const std::string& file, int width, int count) {
    static const char kValueName[] = "ProductVersion";
    std::string result;
    try {
        std::vector<char> info = VersionInfoOf(file);
        WORD* translation = nullptr;
        UINT length = 0;
        if (!info.empty() &&
            VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                           reinterpret_cast<void**>(&translation), &length) &&
            translation != nullptr && length >= 2 * sizeof(WORD)) {
            char block[64];
            std::snprintf(block, sizeof block, "\\StringFileInfo\\%.4x%.4x\\%s", translation[0],
                          translation[1], kValueName);
            char* value = nullptr;
            UINT chars = 0;
            if (VerQueryValueA(info.data(), block, reinterpret_cast<void**>(&value), &chars) &&
                value != nullptr && chars > 0) {
                // chars counts the terminating zero, when there is one.
                std::string text(value, strnlen(value, chars));
                result = KeyIfAsked(ReplaceChar(text, ',', '.'), width, count);
            }
        }
    } catch (...) {
        utilout::Line(ExceptionLine("Utils.GetProductVersion()", "", ExceptionMessage()));
        result.clear();
    }
    utilout::Line(FourFieldLine("QueryValue", file, kValueName, result));
    return result;
}

std::string KernelVersion() {
    return GetProductVersion(SystemDir(true) + "kernel32.dll", 1, 4);
}

const OSVERSIONINFOA& GetOSVersion() {
    static const OSVERSIONINFOA version = [] {
        OSVERSIONINFOA v = {};
        v.dwOSVersionInfoSize = sizeof v;
        if (!GetVersionExA(&v)) return v;
        if (v.dwMajorVersion >= 6 && v.dwMinorVersion >= 3) {
            // A manifest that stops at 8.1 makes later systems report 6.3.
            const std::string list = "." + KernelVersion() + ".";
            auto item = [&](int i, DWORD current) {
                int64_t n = SUB::GetInt64(list, i, -1);
                return n >= 0 && n <= 0xFFFFFFFFLL ? static_cast<DWORD>(n) : current;
            };
            v.dwMajorVersion = item(0, v.dwMajorVersion);
            v.dwMinorVersion = item(1, v.dwMinorVersion);
            v.dwBuildNumber = item(2, v.dwBuildNumber);
        }
        return v;
    }();
    return version;
}

bool IsWinNT() {
    return GetOSVersion().dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool IsWinXP() {
    static const bool xp =
        IsWinNT() && GetOSVersion().dwMajorVersion == 5 && GetOSVersion().dwMinorVersion == 1;
    return xp;
}

bool IsWin8OrLater() {
    const OSVERSIONINFOA& v = GetOSVersion();
    const std::string number =
        std::to_string(v.dwMajorVersion) + "." + std::to_string(v.dwMinorVersion);
    return IsWinNT() && TextToFloat(number, 0.0) >= 6.2;
}

bool IsServerOS() {
    if (GetSystemMetrics(SM_SERVERR2) != 0) return true;
    OSVERSIONINFOEXA ex = {};
    ex.dwOSVersionInfoSize = sizeof ex;
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&ex))) return false;
    return ex.wProductType == VER_NT_DOMAIN_CONTROLLER || ex.wProductType == VER_NT_SERVER;
}

bool Is64BitWindows() {
#ifdef _WIN64
    // A 64-bit process runs on 64-bit Windows only.
    return true;
#else
    static const bool answer = [] {
        using NativeInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
        using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
        using RedirectFn = BOOL(WINAPI*)(PVOID*);
        using RevertFn = BOOL(WINAPI*)(PVOID);
        auto nativeInfo = LoadProc<NativeInfoFn>("kernel32.dll", "GetNativeSystemInfo");
        if (nativeInfo == nullptr) return false;
        SYSTEM_INFO si = {};
        nativeInfo(&si);
        auto isWow64 = LoadProc<IsWow64Fn>("kernel32.dll", "IsWow64Process");
        BOOL wow = FALSE;
        if (isWow64 == nullptr || !isWow64(GetCurrentProcess(), &wow) || !wow) return false;
        return LoadProc<RedirectFn>("kernel32.dll", "Wow64DisableWow64FsRedirection") != nullptr &&
               LoadProc<RevertFn>("kernel32.dll", "Wow64RevertWow64FsRedirection") != nullptr &&
               LoadProcAddress("kernel32.dll", "GetSystemWow64DirectoryA", nullptr) != nullptr &&
               LoadProcAddress("advapi32.dll", "RegDeleteKeyExA", nullptr) != nullptr;
    }();
    return answer;
#endif
}

uint32_t OSClass(std::string& versionText, std::string& name, std::string& servicePack,
                 uint32_t& build) {
    const OSVERSIONINFOA& v = GetOSVersion();
    const bool nt = v.dwPlatformId == VER_PLATFORM_WIN32_NT;
    // Only the NT rows depend on 64-bit Windows and server editions.
    const bool is64 = nt && Is64BitWindows();
    const bool server = nt && IsServerOS();
    OSClassInfo info = OSClassOf(v.dwPlatformId, v.dwMajorVersion, v.dwMinorVersion,
                                 v.dwBuildNumber, is64, server);
    versionText = info.versionText;
    name = info.name;
    servicePack = Trim(std::string(v.szCSDVersion, strnlen(v.szCSDVersion, sizeof v.szCSDVersion)));
    build = v.dwBuildNumber;
    return info.flag;
}

std::string UserName() {
    char name[256] = {};
    DWORD size = sizeof name;
    if (!GetUserNameA(name, &size)) return std::string();
    return Trim(std::string(name, strnlen(name, sizeof name)));
}

std::string ComputerName() {
    char name[256] = {};
    DWORD size = sizeof name;
    if (!GetComputerNameA(name, &size)) return std::string();
    return Trim(std::string(name, strnlen(name, sizeof name)));
}

std::string UserDomain() {
    const std::string user = UserName();
    if (user.empty()) return std::string();
    DWORD sidSize = 0, domainSize = 0;
    SID_NAME_USE use;
    LookupAccountNameA(nullptr, user.c_str(), nullptr, &sidSize, nullptr, &domainSize, &use);
    if (sidSize == 0 || domainSize == 0) return std::string();
    std::vector<BYTE> sid(sidSize);
    std::vector<char> domain(domainSize + 1, '\0');
    if (!LookupAccountNameA(nullptr, user.c_str(), sid.data(), &sidSize, domain.data(), &domainSize,
                            &use))
        return std::string();
    return std::string(domain.data(), strnlen(domain.data(), domain.size()));
}

std::string WindowsVersionKey() {
    const std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    return IsWinNT() ? ReplaceText(key, "Windows", "Windows NT") : key;
}

std::string RegisteredOwner() {
    return Trim(
        RegReadString(WindowsVersionKey(), "RegisteredOwner", UserName(), Is64BitWindows()));
}

std::string RegisteredOrganization() {
    return Trim(RegReadString(WindowsVersionKey(), "RegisteredOrganization", "", Is64BitWindows()));
}

void LoadWin64Libraries() {
    static const bool loaded = [] {
        UINT previous = SetErrorMode(SEM_NOOPENFILEERRORBOX | SEM_FAILCRITICALERRORS);
        for (const char* name : {"shell32.dll", "USP10.dll", "MSLS31.dll", "RICHED32.DLL"})
            LoadLibraryA(name);
        SetErrorMode(previous);
        return true;
    }();
    (void)loaded;
}
