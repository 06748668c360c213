#include "vetter/identity/ascendo.h"

#include "vetter/api/exports.h"
#include "vetter/environment/os_type.h"

#include "core/vetter/identity/board_id.h"
#include "core/vetter/products.h"

#include "stub/util/handles.h"

#include <windows.h>

namespace vetter {

namespace {

REGSAM AscendoViewFlag(const SystemKind& s) {
    switch (AscendoView(s)) {
    case View::Wow32:
        return KEY_WOW64_32KEY;
    case View::Wow64:
        return KEY_WOW64_64KEY;
    default:
        return 0;
    }
}

} // namespace

int WriteAscendoValue(const char* name, const std::string& text) {
    SystemKind s = CurrentSystemKind();
    if (!s.known || !name) return 1;
    win::RegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, AscendoKeyPath(s), 0, KEY_ALL_ACCESS | AscendoViewFlag(s),
                      key.receive()) != ERROR_SUCCESS)
        return 1;
    std::string value = text.substr(0, identity::kAscendoValueMax - 1);
    LONG rc = RegSetValueExA(key.get(), name, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
    return rc == ERROR_SUCCESS ? 0 : 1;
}

void EnsureAscendoKey() {
    if (!checkNVXkey()) createNVXkey();
}

int PublishAscendoValue(const char* name, const std::string& text) {
    EnsureAscendoKey();
    return WriteAscendoValue(name, text);
}

} // namespace vetter
