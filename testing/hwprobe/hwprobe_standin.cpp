// Stand-in HwProbe.dll: answers the selectors from an INI file, so tests
// decide what the "hardware" reports. The file is named by the environment
// variable HWPROBE_INI, else "HwProbe.ini" beside this DLL. Section [WMI] or
// [SMBIOS], key = selector number; a missing key means the call fails.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

HMODULE self = nullptr;

bool ConfigPath(char* path, DWORD size) {
    DWORD n = GetEnvironmentVariableA("HWPROBE_INI", path, size);
    if (n > 0 && n < size) return true;
    n = GetModuleFileNameA(self, path, size);
    if (n == 0 || n >= size) return false;
    char* slash = std::strrchr(path, '\\');
    if (!slash || static_cast<DWORD>(slash - path) + 12 >= size) return false;
    std::strcpy(slash + 1, "HwProbe.ini");
    return true;
}

int Answer(const char* section, int selector, char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    char path[MAX_PATH * 2];
    if (!ConfigPath(path, sizeof path)) return 0;
    char key[16];
    std::snprintf(key, sizeof key, "%d", selector);
    const char missing[] = "\x01missing";
    char value[1024];
    GetPrivateProfileStringA(section, key, missing, value, sizeof value, path);
    if (std::strcmp(value, missing) == 0) return 0;
    std::size_t len = std::strlen(value);
    if (len >= static_cast<std::size_t>(size)) len = size - 1;
    std::memcpy(buffer, value, len);
    buffer[len] = '\0';
    return 1;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) int WMISystemInfo(int selector, char* buffer, int size) {
    if (selector < 0 || selector > 2) return 0;
    return Answer("WMI", selector, buffer, size);
}

extern "C" __declspec(dllexport) int SMBIOSSystemInfo(int selector, char* buffer, int size) {
    if (selector < 1 || selector > 2) return 0;
    return Answer("SMBIOS", selector, buffer, size);
}
