#pragma once
// What the simulated service answers, read from the script file a test sets.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vtrxsim {

struct Script {
    std::set<std::string> offered; // member names the service knows
    enum class CabinetType { I2, I4, Fail } cabinetType = CabinetType::I2;
    int cabinet = 0;
    uint32_t fallbackStatus = 0;
    std::vector<uint8_t> fallbackData;      // answer of command 0xE204
    std::vector<int> states;                // answers of 0x0C80; -1 leaves status 22
    std::map<uint32_t, std::string> values; // object -> answer text of 0x0C00
    int status15 = 0;                       // the first requests of each object answered with 15
};

// Script file and log file: the environment variables VTRX_SIM_SCRIPT and
// VTRX_SIM_LOG, else the values "Script" and "Log" of HKCU\Software\VtrxSim.
std::string ScriptPath();
std::string LogPath();
Script LoadScript();
void LogLine(const std::string& line);

std::string Hex(const uint8_t* bytes, size_t n);

} // namespace vtrxsim
