// Entry point and the exported class.
#include "vetter/api/exports.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}

CVetter::CVetter() = default;
CVetter& CVetter::operator=(const CVetter&) {
    return *this;
}

// The engine's compiler expects a constructor to hand the object back, which
// ours does not, so the exported members are these two shells.
extern "C" CVetter* VETTER_THISCALL CVetter_Construct(CVetter* self) {
    return self;
}
extern "C" CVetter* VETTER_THISCALL CVetter_Assign(CVetter* self, const CVetter*) {
    return self;
}

int fnVetter() {
    return 42;
}
