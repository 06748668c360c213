#include "tests/win/vetter2/machine.h"

#include "tests/support/wine_test_support.h"
#include "tests/win/vetter2/plugin.h"

namespace v2 {

namespace {

const char kAscendo[] = "SOFTWARE\\Morwick\\Vigilon Suite\\Ascendo";
const char kMiniNt[] = "SYSTEM\\CurrentControlSet\\Control\\MiniNT";
// The two places the plug-in may choose, by Windows version and bitness.
const REGSAM kViews[] = {0, KEY_WOW64_32KEY};

} // namespace

Hardware::Hardware(const std::string& ini) {
    path_ = Plugin::Get().folder() + "\\hardware.ini";
    testsupport::WriteWholeFile(path_, ini);
    SetEnvironmentVariableA("HWPROBE_INI", path_.c_str());
}

Hardware::~Hardware() {
    // An INI that does not exist: every selector fails.
    SetEnvironmentVariableA("HWPROBE_INI", (path_ + ".none").c_str());
    DeleteFileA(path_.c_str());
}

SystemIdFile::SystemIdFile(const std::string& text) {
    testsupport::WriteWholeFile(Plugin::Get().folder() + "\\System_Ids_2_Abstract_Ids.txt", text);
}

SystemIdFile::~SystemIdFile() {
    DeleteFileA((Plugin::Get().folder() + "\\System_Ids_2_Abstract_Ids.txt").c_str());
}

std::string AscendoValues::Read(const char* name) {
    for (REGSAM view : kViews) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAscendo, 0, KEY_READ | view, &key) != ERROR_SUCCESS)
            continue;
        char data[1024] = {};
        DWORD size = sizeof data - 1, type = 0;
        LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
        RegCloseKey(key);
        if (rc == ERROR_SUCCESS && type == REG_SZ) return data;
    }
    return "<none>";
}

bool AscendoValues::Write(const char* name, const std::string& text) {
    bool any = false;
    for (REGSAM view : kViews) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kAscendo, 0, nullptr, 0, KEY_ALL_ACCESS | view,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            continue;
        any |= RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              DWORD(text.size() + 1)) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    return any;
}

void AscendoValues::Clear() {
    for (REGSAM view : kViews) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAscendo, 0, KEY_ALL_ACCESS | view, &key) !=
            ERROR_SUCCESS)
            continue;
        RegDeleteValueA(key, "Chassis");
        RegDeleteValueA(key, "systemBoard");
        RegCloseKey(key);
    }
}

WinPeKey::WinPeKey() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kMiniNt, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
}

WinPeKey::~WinPeKey() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kMiniNt);
}

} // namespace v2
