// Windows version and platform checks.
#include "vetter/api/exports.h"
#include "vetter/api/guard.h"
#include "vetter/api/proc.h"
#include "vetter/environment/os_type.h"
#include "vetter/environment/wmi_session.h"

#include "core/vetter/condition_data.h"
#include "core/vetter/tables.h"
#include "core/vetter/winver.h"

#include "stub/util/handles.h"

#include <cstring>
#include <windows.h>

using vetter::Guarded;

namespace vetter {

namespace {

OsTypeCache x86Cache;
OsTypeCache x64Cache;

bool IsWow64() {
    using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto fn = ProcAddress<Fn>(GetModuleHandleA("KERNEL32.DLL"), "IsWow64Process");
    BOOL wow = FALSE;
    if (!fn || !fn(GetCurrentProcess(), &wow)) return false;
    return wow != FALSE;
}

// GetVersionExA's major and minor only: server and client editions alike.
bool VersionExIs(DWORD major, DWORD minor) {
    OSVERSIONINFOA info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return false;
    return info.dwMajorVersion == major && info.dwMinorVersion == minor;
}

WinVersion SystemVersion() {
    WinVersion v;
    GetWindowsVersion(&v.major, &v.minor, &v.build);
    return v;
}

bool SystemVersionIs(int major, int minor) {
    WinVersion v = SystemVersion();
    return v.major == major && v.minor == minor;
}

} // namespace

OsType GetOSType() {
    SYSTEM_INFO info;
    std::memset(&info, 0, sizeof info);
    GetSystemInfo(&info);
    unsigned arch = info.dwOemId & 0xFFFF;
    bool wow = arch == kArchX86 && IsWow64();
    char env[kOutSize] = {};
    DWORD n = GetEnvironmentVariableA("PROCESSOR_ARCHITEW6432", env, sizeof env);
    return DecideOsType(arch, wow, n > 0 && n < sizeof env ? env : nullptr);
}

SystemKind CurrentSystemKind() {
    SystemKind s;
    s.x86 = isOSTypeX86();
    s.known = s.x86 || isOSTypeX64() || GetOSType() == OS_IA64_WOW;
    s.v61to63 = !s.x86 && (isWindows2008R2() || isWindows2012() || isWindows2012R2());
    return s;
}

} // namespace vetter

int GetWindowsVersion(int* major, int* minor, int* build) {
    return Guarded(int(vetter::RET_FATAL_ERROR), [&] {
        int scratch[3] = {};
        int* out[3] = {major ? major : &scratch[0], minor ? minor : &scratch[1],
                       build ? build : &scratch[2]};
        {
            vetter::WmiSession wmi;
            if (wmi.Open(L"ROOT\\CIMV2", vetter::kWmiVersionMessages)) {
                IEnumWbemClassObject* items =
                    wmi.Query(L"SELECT * FROM Win32_OperatingSystem",
                              "Query for processes failed. Error code = 0x");
                if (items) {
                    IWbemClassObject* object = nullptr;
                    ULONG got = 0;
                    while (items->Next(WBEM_INFINITE, 1, &object, &got) == S_OK && got) {
                        std::string text = vetter::WmiText(object, L"Version");
                        object->Release();
                        std::sscanf(text.c_str(), "%d.%d.%d", out[0], out[1], out[2]);
                    }
                    items->Release();
                }
            }
        }
        // The registry always runs; the WMI values only remain when it cannot be read.
        char text[vetter::kOutSize] = {};
        if (!Get_Windows_Version_Info_REGISTRY(text)) return int(vetter::RET_FATAL_ERROR);
        std::sscanf(text, "%d.%d.%d", out[0], out[1], out[2]);
        return int(vetter::RET_OK);
    });
}

bool Get_Windows_Version_Info_REGISTRY(char* out) {
    return Guarded(false, [&] {
        if (!out) return false;
        char key[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
        char versionName[] = "CurrentVersion";
        char buildName[] = "CurrentBuildNumber";
        char version[257] = {};
        char build[257] = {};
        if (getRegistryValue(key, versionName, REG_SZ, version, 256) != 0) return false;
        vetter::CopyCut(out, vetter::kOutSize, version);
        if (getRegistryValue(key, buildName, REG_SZ, build, 256) != 0) return false;
        std::string joined = std::string(version) + "." + build;
        vetter::CopyCut(out, vetter::kOutSize, joined.c_str());
        return true;
    });
}

bool Is_GreaterEqual_WinMinVer(char* version) {
    return Guarded(false, [&] { return vetter::IsAtLeast(version, vetter::SystemVersion); });
}

bool Is_LessEqual_WinMaxVer(char* version) {
    return Guarded(false, [&] { return vetter::IsAtMost(version, vetter::SystemVersion); });
}

bool Is_Valid_Windows(char* data) {
    return Guarded(false, [&] { return vetter::IsValidWindowsRule(data, vetter::SystemVersion); });
}

bool isWindows2008R2() {
    return Guarded(false, [] { return vetter::VersionExIs(6, 1); });
}
bool isWindows2012() {
    return Guarded(false, [] { return vetter::SystemVersionIs(6, 2); });
}
bool isWindows2012R2() {
    return Guarded(false, [] { return vetter::SystemVersionIs(6, 3); });
}
bool Is_WinXP_OS() {
    return Guarded(false, [] { return vetter::VersionExIs(5, 1); });
}
bool Is_Win2000_OS() {
    return Guarded(false, [] { return vetter::VersionExIs(5, 0); });
}
bool Is_Win2008R2_OS() {
    return isWindows2008R2();
}
bool Is_Win2012_OS() {
    return isWindows2012();
}
bool Is_Win2012R2_OS() {
    return isWindows2012R2();
}

bool isOSTypeX86() {
    return Guarded(false, [] { return vetter::x86Cache.Get(vetter::GetOSType) == vetter::OS_X86; });
}
bool isOSTypeX64() {
    return Guarded(false, [] { return vetter::x64Cache.Get(vetter::GetOSType) == vetter::OS_X64; });
}

bool Is_WinPE_OS() {
    return Guarded(false, [] {
        win::RegKey key;
        return RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\MiniNT", 0,
                             KEY_ALL_ACCESS, key.receive()) == ERROR_SUCCESS;
    });
}
