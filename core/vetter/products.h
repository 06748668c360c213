#pragma once
// Rules over the installed-product table; the Windows Installer lookup is
// passed in, so the walks are testable without one.
#include <functional>

namespace vetter {

// code -> RET_OK, RET_NOTINSTALLED, RET_NOVERSION, RET_BADCALL or RET_FATAL_ERROR.
using VersionLookupFn = std::function<int(const char* upgradeCode)>;

// First entry with this key whose lookup answers 0 or 2 gives true; 3 ends
// the walk with false; other results go on to the next entry.
enum class Walk { Installed, BadCall, None };
Walk WalkProducts(const char* key, const VersionLookupFn& lookup);
bool AnyProductInstalled(const char* key, const VersionLookupFn& lookup);
// appname must be a table key; then any rivappname product installed.
bool RivalInstalled(const char* data, const VersionLookupFn& lookup);
bool IsProductKey(const char* key);

// Registry placement of the maker's keys.
struct SystemKind {
    bool x86 = false;     // 32-bit Windows
    bool v61to63 = false; // Windows 6.1, 6.2 or 6.3
    bool known = true;    // operating-system type determined
};
enum class View { Default, Wow32, Wow64 };
extern const char kAscendoKey[];
extern const char kAscendoKeyWow[];
extern const char kOldAscendoKey[];
extern const char kOldAscendoKeyWow[];
const char* AscendoKeyPath(const SystemKind& s);
const char* OldAscendoKeyPath(const SystemKind& s);
// The view added for the Ascendo keys and getSubKeyValue.
View AscendoView(const SystemKind& s);
// The view of getSubKeyValue_X64 (64-bit system or 6.1 to 6.3).
View X64ReaderView(const SystemKind& s, bool x64);

} // namespace vetter
