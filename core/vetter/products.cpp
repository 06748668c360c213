#include "core/vetter/products.h"

#include "core/vetter/condition_data.h"
#include "core/vetter/tables.h"

#include <cstring>

namespace vetter {

const char kAscendoKey[] = "SOFTWARE\\Morwick\\Vigilon Suite\\Ascendo";
const char kAscendoKeyWow[] = "SOFTWARE\\Wow6432Node\\Morwick\\Vigilon Suite\\Ascendo";
const char kOldAscendoKey[] = "SOFTWARE\\Morwick Alder\\Ascendo";
const char kOldAscendoKeyWow[] = "SOFTWARE\\Wow6432Node\\Morwick Alder\\Ascendo";

Walk WalkProducts(const char* key, const VersionLookupFn& lookup) {
    if (!key) return Walk::None;
    for (const ProductEntry* e = ProductTable; *e->upgradeCode; ++e) {
        if (std::strcmp(e->key, key) != 0) continue;
        int r = lookup(e->upgradeCode);
        if (r == RET_OK || r == RET_NOVERSION) return Walk::Installed;
        if (r == RET_BADCALL) return Walk::BadCall;
    }
    return Walk::None;
}

bool AnyProductInstalled(const char* key, const VersionLookupFn& lookup) {
    return WalkProducts(key, lookup) == Walk::Installed;
}

bool IsProductKey(const char* key) {
    for (const ProductEntry* e = ProductTable; *e->upgradeCode; ++e) {
        if (std::strcmp(e->key, key) == 0) return true;
    }
    return false;
}

bool RivalInstalled(const char* data, const VersionLookupFn& lookup) {
    char app[kOutSize] = {};
    char rival[kOutSize] = {};
    GetQuotedArgument(data, "appname", app, sizeof app);
    GetQuotedArgument(data, "rivappname", rival, sizeof rival);
    if (!IsProductKey(app)) return false;
    return AnyProductInstalled(rival, lookup);
}

const char* AscendoKeyPath(const SystemKind& s) {
    return s.x86 || s.v61to63 ? kAscendoKey : kAscendoKeyWow;
}
const char* OldAscendoKeyPath(const SystemKind& s) {
    return s.x86 || s.v61to63 ? kOldAscendoKey : kOldAscendoKeyWow;
}
View AscendoView(const SystemKind& s) {
    return !s.x86 && !s.v61to63 ? View::Wow32 : View::Default;
}
View X64ReaderView(const SystemKind& s, bool x64) {
    return x64 || s.v61to63 ? View::Wow64 : View::Default;
}

} // namespace vetter
