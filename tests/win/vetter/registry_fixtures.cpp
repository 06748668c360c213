#include "tests/win/vetter/registry_fixtures.h"

#include "stub/util/handles.h"

#include <algorithm>

namespace vettertest {

bool CreateHklmKey(const std::string& key, REGSAM view) {
    win::RegKey k;
    return RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view,
                           nullptr, k.receive(), nullptr) == ERROR_SUCCESS;
}

bool SetHklmValue(const std::string& key, const std::string& name, DWORD type, const void* data,
                  DWORD size, REGSAM view) {
    win::RegKey k;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view,
                        nullptr, k.receive(), nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExA(k.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

void DeleteHklmTree(const std::string& key, REGSAM view) {
    std::string parent = key.substr(0, key.find_last_of('\\'));
    std::string leaf = key.substr(key.find_last_of('\\') + 1);
    win::RegKey k;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, parent.c_str(), 0, KEY_ALL_ACCESS | view, k.receive()) ==
        ERROR_SUCCESS)
        RegDeleteTreeA(k.get(), leaf.c_str());
}

HklmValues::~HklmValues() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        win::RegKey k;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_ALL_ACCESS | view_,
                          k.receive()) != ERROR_SUCCESS)
            continue;
        if (it->existed)
            RegSetValueExA(k.get(), it->name.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(it->value.c_str()),
                           static_cast<DWORD>(it->value.size() + 1));
        else
            RegDeleteValueA(k.get(), it->name.c_str());
    }
}

bool HklmValues::Set(const std::string& name, const char* value) {
    win::RegKey k;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view_,
                        nullptr, k.receive(), nullptr) != ERROR_SUCCESS)
        return false;
    char old[1024] = {};
    DWORD size = sizeof old - 1, type = 0;
    bool existed = RegQueryValueExA(k.get(), name.c_str(), nullptr, &type,
                                    reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
    saved_.push_back({name, existed, existed ? std::string(old) : std::string()});
    if (!value) return RegDeleteValueA(k.get(), name.c_str()) == ERROR_SUCCESS || !existed;
    return RegSetValueExA(k.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>(strlen(value) + 1)) == ERROR_SUCCESS;
}

RegistryWindowsVersion::RegistryWindowsVersion(const char* version, const char* build)
    : values_("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion") {
    values_.Set("CurrentVersion", version);
    values_.Set("CurrentBuildNumber", build);
}

ScratchKey::ScratchKey(std::string key) : key_(std::move(key)) {
    Remove();
}
ScratchKey::~ScratchKey() {
    Remove();
}
void ScratchKey::Remove() {
    DeleteHklmTree(key_, KEY_WOW64_64KEY);
    DeleteHklmTree(key_, KEY_WOW64_32KEY);
}

std::string PackedGuid(const std::string& guid) {
    std::string hex;
    for (char c : guid)
        if (isxdigit(static_cast<unsigned char>(c))) hex += c;
    if (hex.size() != 32) return std::string();
    std::string packed;
    auto reversed = [&](size_t at, size_t n) {
        std::string part = hex.substr(at, n);
        std::reverse(part.begin(), part.end());
        packed += part;
    };
    reversed(0, 8);
    reversed(8, 4);
    reversed(12, 4);
    for (size_t at = 16; at < 32; at += 2) {
        packed += hex[at + 1];
        packed += hex[at];
    }
    return packed;
}

FakeMsiProduct::FakeMsiProduct(const std::string& upgradeCode, const std::string& productCode,
                               const char* displayVersion) {
    std::string upgrade = PackedGuid(upgradeCode), product = PackedGuid(productCode);
    upgradeKey_ =
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UpgradeCodes\\" + upgrade;
    productKey_ = "SOFTWARE\\Classes\\Installer\\Products\\" + product;
    userDataKey_ =
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products\\" +
        product;
    SetHklmValue(upgradeKey_, product, REG_SZ, "", 1);
    CreateHklmKey(productKey_);
    std::string props = userDataKey_ + "\\InstallProperties";
    if (displayVersion)
        SetHklmValue(props, "DisplayVersion", REG_SZ, displayVersion,
                     static_cast<DWORD>(strlen(displayVersion) + 1));
    else
        CreateHklmKey(props);
}

FakeMsiProduct::~FakeMsiProduct() {
    DeleteHklmTree(upgradeKey_);
    DeleteHklmTree(productKey_);
    DeleteHklmTree(userDataKey_);
}

} // namespace vettertest
