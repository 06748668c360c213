#include "core/vetter/winver.h"

#include "core/vetter/condition_data.h"

#include <cstdio>
#include <cstring>

namespace vetter {

WinVersion ParseWinVersion(const char* text) {
    WinVersion v;
    if (text) std::sscanf(text, "%d.%d.%d", &v.major, &v.minor, &v.build);
    return v;
}

int CompareWinVersion(const WinVersion& a, const WinVersion& b) {
    if (a.major != b.major) return a.major < b.major ? -1 : 1;
    if (a.minor != b.minor) return a.minor < b.minor ? -1 : 1;
    if (a.build != b.build) return a.build < b.build ? -1 : 1;
    return 0;
}

bool IsAtLeast(const char* minText, const SystemVersionFn& system) {
    if (!minText || !*minText) return false;
    WinVersion min = ParseWinVersion(minText);
    return CompareWinVersion(system(), min) >= 0;
}

bool IsAtMost(const char* maxText, const SystemVersionFn& system) {
    if (!maxText || !*maxText) return false;
    WinVersion max = ParseWinVersion(maxText);
    return CompareWinVersion(system(), max) <= 0;
}

bool IsValidWindowsRule(const char* data, const SystemVersionFn& system) {
    if (!data || !*data) return false;
    char min[kOutSize] = {};
    char max[kOutSize] = {};
    bool haveMin = GetQuotedArgument(data, "winminver", min, sizeof min);
    bool haveMax = GetQuotedArgument(data, "winmaxver", max, sizeof max);
    if (!haveMin && !haveMax) return false;
    bool namesMin = std::strstr(data, "winminver") != nullptr;
    bool namesMax = std::strstr(data, "winmaxver") != nullptr;
    if (namesMin && namesMax) return IsAtLeast(min, system) && IsAtMost(max, system);
    if (namesMin) return IsAtLeast(min, system);
    return IsAtMost(max, system);
}

OsType DecideOsType(unsigned nativeArch, bool wow64, const char* archW6432) {
    if (nativeArch != kArchX86) return OS_X64;
    if (!wow64) return OS_X86;
    if (!archW6432 || !*archW6432) return OS_UNKNOWN;
    if (std::strcmp(archW6432, "IA64") == 0) return OS_IA64_WOW;
    if (std::strcmp(archW6432, "AMD64") == 0) return OS_X64;
    // Any other 64-bit host (ARM64, say) runs this 32-bit process emulated:
    // for registry views and templates it is a 64-bit Windows.
    return OS_X64;
}

} // namespace vetter
