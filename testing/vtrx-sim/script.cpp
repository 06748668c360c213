#include "testing/vtrx-sim/script.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>

namespace vtrxsim {

namespace {

CRITICAL_SECTION logLock;
struct LockInit {
    LockInit() { InitializeCriticalSection(&logLock); }
} lockInit;

std::string Setting(const char* env, const char* value) {
    char buf[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableA(env, buf, sizeof buf);
    if (n > 0 && n < sizeof buf) return std::string(buf, n);
    DWORD size = sizeof buf;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\VtrxSim", value, RRF_RT_REG_SZ, nullptr, buf,
                     &size) == ERROR_SUCCESS) {
        return buf;
    }
    return std::string();
}

std::string Ini(const std::string& path, const char* section, const char* key, const char* def) {
    char buf[4096];
    GetPrivateProfileStringA(section, key, def, buf, sizeof buf, path.c_str());
    return buf;
}

std::vector<std::string> SplitComma(const std::string& s) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i <= s.size()) {
        size_t e = s.find(',', i);
        if (e == std::string::npos) e = s.size();
        std::string item = s.substr(i, e - i);
        while (!item.empty() && item.front() == ' ')
            item.erase(0, 1);
        while (!item.empty() && item.back() == ' ')
            item.pop_back();
        if (!item.empty()) out.push_back(item);
        i = e + 1;
    }
    return out;
}

} // namespace

std::string ScriptPath() {
    return Setting("VTRX_SIM_SCRIPT", "Script");
}

std::string LogPath() {
    return Setting("VTRX_SIM_LOG", "Log");
}

Script LoadScript() {
    Script s;
    const char* all =
        "SyncRequest,DefaultTimeout,VCRequest,ServerCabinetNumber,ServerControlVersion,"
        "VCRequestEx,ClientName,CmdRequest,EnableEvents,DisableEvents";
    std::string path = ScriptPath();
    std::string offer = path.empty() ? all : Ini(path, "Members", "Offer", all);
    for (const std::string& m : SplitComma(offer))
        s.offered.insert(m);
    if (path.empty()) {
        s.states = {2};
        return s;
    }
    std::string type = Ini(path, "Cabinet", "Type", "I2");
    s.cabinetType = type == "I4"   ? Script::CabinetType::I4
                    : type == "I2" ? Script::CabinetType::I2
                                   : Script::CabinetType::Fail;
    s.cabinet = std::atoi(Ini(path, "Cabinet", "Value", "0").c_str());
    s.fallbackStatus =
        uint32_t(std::strtoul(Ini(path, "Cabinet", "FallbackStatus", "0").c_str(), nullptr, 0));
    std::string fb = Ini(path, "Cabinet", "FallbackData", "");
    for (size_t i = 0; i + 1 < fb.size(); i += 2) {
        s.fallbackData.push_back(uint8_t(std::strtoul(fb.substr(i, 2).c_str(), nullptr, 16)));
    }
    for (const std::string& v : SplitComma(Ini(path, "State", "Sequence", "2"))) {
        s.states.push_back(std::atoi(v.c_str()));
    }
    if (s.states.empty()) s.states.push_back(2);
    char keys[8192];
    DWORD n = GetPrivateProfileStringA("Values", nullptr, "", keys, sizeof keys, path.c_str());
    for (const char* k = keys; k < keys + n && *k; k += std::strlen(k) + 1) {
        s.values[uint32_t(std::strtoul(k, nullptr, 16))] = Ini(path, "Values", k, "");
    }
    s.status15 = std::atoi(Ini(path, "Repeat", "Status15", "0").c_str());
    return s;
}

void LogLine(const std::string& line) {
    std::string path = LogPath();
    if (path.empty()) return;
    EnterCriticalSection(&logLock);
    if (FILE* f = std::fopen(path.c_str(), "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
    LeaveCriticalSection(&logLock);
}

std::string Hex(const uint8_t* bytes, size_t n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        s += digits[bytes[i] >> 4];
        s += digits[bytes[i] & 15];
    }
    return s;
}

} // namespace vtrxsim
