// Installed products through Windows Installer, imported by ordinal.
#include "vetter/api/exports.h"
#include "vetter/api/guard.h"
#include "vetter/api/set_env_value.h"

#include "core/vetter/condition_data.h"
#include "core/vetter/products.h"
#include "core/vetter/tables.h"

#include <cstring>
#include <windows.h>
#include <msi.h>

using vetter::Guarded;

namespace vetter {

namespace {

constexpr DWORD kProductCodeSize = 39;

// RET_OK, RET_NOTINSTALLED, RET_NOVERSION or RET_BADCALL; productOut (39
// bytes, may be null) receives the product code when its version is unreadable.
int LookupVersion(const char* code, char* version, char* productOut) {
    if (!code || !*code || !version) return RET_BADCALL;
    char product[kProductCodeSize] = {};
    if (MsiEnumRelatedProductsA(code, 0, 0, product) != ERROR_SUCCESS) return RET_NOTINSTALLED;
    char text[kOutSize] = {};
    DWORD size = sizeof text;
    UINT rc = MsiGetProductInfoA(product, "VersionString", text, &size);
    if (rc != ERROR_SUCCESS || size == 0) {
        if (productOut) CopyCut(productOut, kProductCodeSize, product);
        CopyCut(version, kOutSize, "unknown");
        return RET_NOVERSION;
    }
    CopyCut(version, kOutSize, text);
    return RET_OK;
}

int LookupAndPublish(const char* code, char* version, bool publish, char* product,
                     const char* variable) {
    int r = LookupVersion(code, version, product);
    if (r != RET_OK || !publish) return r;
    return SetEnvValue(variable, version);
}

} // namespace

} // namespace vetter

int GetAppVersion(char* code, char* version) {
    return Guarded(int(vetter::RET_BADCALL),
                   [&] { return vetter::LookupVersion(code, version, nullptr); });
}

int GetNTAgentsVersion(char* code, char* version, bool publish, char* product) {
    return Guarded(int(vetter::RET_BADCALL), [&] {
        return vetter::LookupAndPublish(code, version, publish, product, "VTRX_VERSION");
    });
}

int GetMOBAVersion(char* code, char* version, bool publish) {
    return Guarded(int(vetter::RET_BADCALL), [&] {
        return vetter::LookupAndPublish(code, version, publish, nullptr, "MOBA_VERSION");
    });
}

namespace vetter {
namespace {

Walk HostmonWalk(bool publish, char* found) {
    return WalkProducts("HOSTMON", [&](const char* code) {
        char version[kOutSize] = {};
        found[0] = '\0';
        return GetNTAgentsVersion(const_cast<char*>(code), version, publish, found);
    });
}

Walk MobaWalk(bool publish) {
    return WalkProducts("MOBA", [&](const char* code) {
        char version[kOutSize] = {};
        return GetMOBAVersion(const_cast<char*>(code), version, publish);
    });
}

} // namespace
} // namespace vetter

int Is_HOSTMON_available(bool publish, char* product) {
    return Guarded(0, [&] {
        char found[vetter::kOutSize] = {};
        bool installed = vetter::HostmonWalk(publish, found) == vetter::Walk::Installed;
        if (installed && product) vetter::CopyCut(product, vetter::kOutSize, found);
        return installed ? 1 : 0;
    });
}

int Is_MOBA_available(bool publish) {
    return Guarded(0, [&] { return vetter::MobaWalk(publish) == vetter::Walk::Installed ? 1 : 0; });
}

int Is_VTRX_available(bool publish) {
    return Guarded(0, [&] {
        char found[vetter::kOutSize] = {};
        vetter::Walk hostmon = vetter::HostmonWalk(publish, found);
        if (hostmon != vetter::Walk::None) return hostmon == vetter::Walk::Installed ? 1 : 0;
        return vetter::MobaWalk(publish) == vetter::Walk::Installed ? 1 : 0;
    });
}

int CheckForRivalApplication(char* data) {
    return Guarded(0, [&] {
        return vetter::RivalInstalled(data,
                                      [](const char* code) {
                                          char version[vetter::kOutSize] = {};
                                          return GetAppVersion(const_cast<char*>(code), version);
                                      })
                   ? 1
                   : 0;
    });
}
