#include "stub/util/registry.h"

#include "core/util/numbers.h"
#include "stub/util/console.h"
#include "stub/util/handles.h"
#include "stub/util/utils.h"

#include <vector>

namespace {

// The predefined keys are sign-extended constants in a 64-bit build, so map
// codes to them instead of casting.
HKEY RootKeyFromCode(uint32_t code) {
    switch (code) {
    case kRootClassesRoot:
        return HKEY_CLASSES_ROOT;
    case kRootLocalMachine:
        return HKEY_LOCAL_MACHINE;
    case kRootUsers:
        return HKEY_USERS;
    case kRootCurrentConfig:
        return HKEY_CURRENT_CONFIG;
    case kRootDynData:
        return HKEY_DYN_DATA;
    default:
        return HKEY_CURRENT_USER;
    }
}

} // namespace

HKEY RootKeyOf(const std::string& rootName) {
    return RootKeyFromCode(RootKeyCodeOf(rootName));
}

HKEY SplitRegPath(const std::string& path, std::string& subkey) {
    return RootKeyFromCode(SplitRegPathOf(path, subkey));
}

std::string RegReadString(const std::string& path, const std::string& valueName,
                          const std::string& def, bool view64) {
    try {
        std::string subkey;
        HKEY root = SplitRegPath(path, subkey);
        win::RegKey key;
        REGSAM access = KEY_READ | (view64 ? KEY_WOW64_64KEY : 0);
        if (RegOpenKeyExA(root, subkey.c_str(), 0, access, key.receive()) != ERROR_SUCCESS)
            return def;
        std::vector<char> buffer(kValueBufferSize, '\0');
        DWORD type = 0;
        DWORD size = kValueBufferSize;
        if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
            return def;
        if (size > kValueBufferSize) size = kValueBufferSize;
        return RegDataText(type, std::string(buffer.data(), size));
    } catch (...) {
        return def;
    }
}

std::string ReadIniString(const std::string& file, const std::string& section,
                          const std::string& key, const std::string& def) {
    // No file name would make the system read win.ini.
    if (file.empty() || section.empty() || key.empty()) return def;
    try {
        std::vector<char> buffer(kValueBufferSize, '\0');
        DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(),
                                           kValueBufferSize, file.c_str());
        if (n > 0) return std::string(buffer.data(), n);
    } catch (...) {
        utilout::Line("EXCEPTION --- Utils.ReadIniString()  " + LastErrorText());
    }
    return def;
}

int64_t ReadIniInt(const std::string& file, const std::string& section, const std::string& key,
                   int64_t def) {
    return TextToInt64(ReadIniString(file, section, key, std::to_string(def)), def);
}

bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value) {
    if (file.empty() || section.empty() || key.empty()) return false;
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
           FALSE;
}

bool WriteIniInt(const std::string& file, const std::string& section, const std::string& key,
                 int64_t value) {
    return WriteIniString(file, section, key, std::to_string(value));
}
