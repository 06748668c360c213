// vtrx-sim: the management service's stand-in, an out-of-process COM server.
//   vtrx-sim /regserver [/script=<file>] [/log=<file>]   register (HKLM and HKCU)
//   vtrx-sim /unregserver                                remove the registration
//   vtrx-sim -Embedding                                  serve (started by COM)
// The server ends a few seconds after its last object is released.
#include "core/vetter/identity/vtrx_query.h"
#include "testing/vtrx-sim/script.h"
#include "testing/vtrx-sim/service.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

const DWORD kLingerMs = 3000;
const DWORD kIdleStartMs = 30000;

std::string Narrow(const wchar_t* w) {
    int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, w, -1, &s[0], n, nullptr, nullptr);
    return s;
}

bool Option(const std::string& arg, const char* name, std::string* value) {
    std::string prefix = std::string("/") + name + "=";
    if (arg.size() < prefix.size() ||
        lstrcmpiA(arg.substr(0, prefix.size()).c_str(), prefix.c_str()) != 0) {
        return false;
    }
    *value = arg.substr(prefix.size());
    return true;
}

bool WriteServerKey(HKEY root, const std::string& exe) {
    std::string key = std::string("Software\\Classes\\CLSID\\") + vtrx::kServiceClsid;
    HKEY k = nullptr;
    if (RegCreateKeyExA(root, (key + "\\LocalServer32").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &k, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    std::string quoted = "\"" + exe + "\"";
    LONG rc = RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(quoted.c_str()),
                             DWORD(quoted.size() + 1));
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

void DeleteServerKey(HKEY root) {
    std::string key = std::string("Software\\Classes\\CLSID\\") + vtrx::kServiceClsid;
    RegDeleteTreeA(root, key.c_str());
}

bool StoreSetting(const char* name, const std::string& value) {
    HKEY k = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\VtrxSim", 0, nullptr, 0, KEY_WRITE, nullptr,
                        &k, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    LONG rc = value.empty()
                  ? (RegDeleteValueA(k, name), ERROR_SUCCESS)
                  : RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   DWORD(value.size() + 1));
    RegCloseKey(k);
    return rc == ERROR_SUCCESS;
}

int Register(const std::string& script, const std::string& log) {
    char exe[MAX_PATH * 2];
    DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
    if (n == 0 || n >= sizeof exe) return 2;
    // The machine-wide key needs administrator rights; the user's key is enough
    // where the COM runtime reads it.
    bool machine = WriteServerKey(HKEY_LOCAL_MACHINE, exe);
    bool user = WriteServerKey(HKEY_CURRENT_USER, exe);
    if (!machine && !user) return 3;
    if (!StoreSetting("Script", script) || !StoreSetting("Log", log)) return 4;
    return 0;
}

int Serve() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return 5;
    CLSID clsid;
    wchar_t clsidText[64];
    MultiByteToWideChar(CP_ACP, 0, vtrx::kServiceClsid, -1, clsidText, 64);
    DWORD cookie = 0;
    if (FAILED(CLSIDFromString(clsidText, &clsid)) ||
        FAILED(CoRegisterClassObject(clsid, vtrxsim::NewFactory(), CLSCTX_LOCAL_SERVER,
                                     REGCLS_MULTIPLEUSE, &cookie))) {
        CoUninitialize();
        return 6;
    }
    vtrxsim::LogLine("server start");
    DWORD start = GetTickCount();
    for (;;) {
        Sleep(100);
        if (vtrxsim::LiveCount() > 0) continue;
        DWORD last = vtrxsim::LastRelease();
        DWORD now = GetTickCount();
        if (last == 0 ? now - start > kIdleStartMs : now - last > kLingerMs) break;
    }
    CoRevokeClassObject(cookie);
    vtrxsim::LogLine("server end");
    CoUninitialize();
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return 1;
    std::string script, log;
    int mode = 0; // 0 serve, 1 register, 2 unregister
    for (int i = 1; i < argc; ++i) {
        std::string a = Narrow(argv[i]);
        std::string v;
        if (lstrcmpiA(a.c_str(), "/regserver") == 0 || lstrcmpiA(a.c_str(), "-regserver") == 0) {
            mode = 1;
        } else if (lstrcmpiA(a.c_str(), "/unregserver") == 0 ||
                   lstrcmpiA(a.c_str(), "-unregserver") == 0) {
            mode = 2;
        } else if (Option(a, "script", &v)) {
            script = v;
        } else if (Option(a, "log", &v)) {
            log = v;
        }
    }
    LocalFree(argv);
    if (mode == 1) return Register(script, log);
    if (mode == 2) {
        DeleteServerKey(HKEY_LOCAL_MACHINE);
        DeleteServerKey(HKEY_CURRENT_USER);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\VtrxSim");
        return 0;
    }
    return Serve();
}
