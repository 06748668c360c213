// Value readers under HKEY_LOCAL_MACHINE and the maker's Ascendo keys.
#include "vetter/api/exports.h"
#include "vetter/api/guard.h"
#include "vetter/environment/os_type.h"

#include "core/vetter/products.h"

#include "stub/util/handles.h"

#include <cstring>
#include <windows.h>

using vetter::Guarded;

namespace vetter {

namespace {

REGSAM ViewFlag(View view) {
    switch (view) {
    case View::Wow32:
        return KEY_WOW64_32KEY;
    case View::Wow64:
        return KEY_WOW64_64KEY;
    default:
        return 0;
    }
}

// Values are enumerated through 256-byte name and data buffers; an entry
// that does not fit is skipped. Names compare case-sensitively.
int ReadValue(const char* keyPath, const char* name, void* out, unsigned size, REGSAM view) {
    if (!keyPath || !name) return 1;
    win::RegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_ALL_ACCESS | view, key.receive()) !=
        ERROR_SUCCESS)
        return 1;
    for (DWORD index = 0;; ++index) {
        char valueName[256];
        BYTE data[256];
        DWORD nameLen = sizeof valueName;
        DWORD dataLen = sizeof data;
        LONG rc =
            RegEnumValueA(key.get(), index, valueName, &nameLen, nullptr, nullptr, data, &dataLen);
        if (rc == ERROR_MORE_DATA) continue;
        // Any other failure ends the walk instead of probing indexes for ever.
        if (rc != ERROR_SUCCESS) return 1;
        if (std::strcmp(valueName, name) != 0) continue;
        if (out) std::memcpy(out, data, size < dataLen ? size : dataLen);
        return 0;
    }
}

bool OpenMakerKey(const char* path, View view, bool create) {
    win::RegKey key;
    if (create) {
        DWORD disposition = 0;
        char noClass[] = "";
        return RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, noClass, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS | ViewFlag(view), nullptr, key.receive(),
                               &disposition) == ERROR_SUCCESS;
    }
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS | ViewFlag(view),
                         key.receive()) == ERROR_SUCCESS;
}

bool CheckKey(bool old) {
    SystemKind s = CurrentSystemKind();
    if (!s.known) return false;
    return OpenMakerKey(old ? OldAscendoKeyPath(s) : AscendoKeyPath(s), AscendoView(s), false);
}

// False when the key now exists, true when it could not be made.
bool CreateKey(bool old) {
    SystemKind s = CurrentSystemKind();
    if (!s.known) return true;
    return !OpenMakerKey(old ? OldAscendoKeyPath(s) : AscendoKeyPath(s), AscendoView(s), true);
}

} // namespace

} // namespace vetter

int getRegistryValue(char* key, char* name, int, void* out, unsigned size) {
    return Guarded(1, [&] { return vetter::ReadValue(key, name, out, size, 0); });
}

int getSubKeyValue(char* key, char* name, int, void* out, unsigned size) {
    return Guarded(1, [&] {
        vetter::SystemKind s = vetter::CurrentSystemKind();
        if (!s.known) return 1;
        return vetter::ReadValue(key, name, out, size, vetter::ViewFlag(vetter::AscendoView(s)));
    });
}

int getSubKeyValue_X64(char* key, char* name, int, void* out, unsigned size) {
    return Guarded(1, [&] {
        vetter::SystemKind s = vetter::CurrentSystemKind();
        if (!s.known) return 1;
        vetter::View view = vetter::X64ReaderView(s, isOSTypeX64());
        return vetter::ReadValue(key, name, out, size, vetter::ViewFlag(view));
    });
}

bool checkNVXkey() {
    return Guarded(false, [] { return vetter::CheckKey(false); });
}
bool createNVXkey() {
    return Guarded(true, [] { return vetter::CreateKey(false); });
}
bool checkKLRkey() {
    return Guarded(false, [] { return vetter::CheckKey(true); });
}
bool createKLRkey() {
    return Guarded(true, [] { return vetter::CreateKey(true); });
}
