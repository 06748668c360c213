#pragma once
// Windows version texts, their comparison, the "Valid Windows ?" rule and
// the operating-system type decision with its retrying cache.
#include <functional>

namespace vetter {

struct WinVersion {
    int major = 0, minor = 0, build = 0;
};
// "%d.%d.%d": parts missing in the text stay 0.
WinVersion ParseWinVersion(const char* text);
// Negative, zero or positive as a is below, equal to or above b.
int CompareWinVersion(const WinVersion& a, const WinVersion& b);

// The system version is asked for lazily, at most once per comparison.
using SystemVersionFn = std::function<WinVersion()>;
bool IsAtLeast(const char* minText, const SystemVersionFn& system);
bool IsAtMost(const char* maxText, const SystemVersionFn& system);
// winminver / winmaxver rule over the condition data; a failing minimum
// skips the maximum.
bool IsValidWindowsRule(const char* data, const SystemVersionFn& system);

enum OsType : int {
    OS_X86 = 0,
    OS_IA64_WOW = 1,
    OS_X64 = 2,
    OS_UNKNOWN = 15,
};
constexpr unsigned kArchX86 = 0;
// nativeArch: low word of dwOemId; wow64: the process runs under WOW64;
// archW6432: PROCESSOR_ARCHITEW6432, null when unset.
OsType DecideOsType(unsigned nativeArch, bool wow64, const char* archW6432);

// A cached type that is computed again while it is still unknown.
class OsTypeCache {
  public:
    OsType Get(const std::function<OsType()>& compute) {
        if (value_ == OS_UNKNOWN) value_ = compute();
        return value_;
    }

  private:
    OsType value_ = OS_UNKNOWN;
};

} // namespace vetter
