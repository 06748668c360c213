#pragma once
// Unit StubAU, check part: the transient agent's timer decides when a check
// is due, fetches the update descriptor, judges it and hands over to the
// update or notice flow. Also the download of the three agent files and the
// test mode that redirects them to a local folder.
#include <cstdint>
#include <functional>
#include <string>

namespace stubau {

// What the running package says (parameter-block items 0, 1 and 3).
struct AgentConfig {
    std::string updateLocation;
    std::string descriptorItem;
    std::string token; // scrambled
};
void SetAgentConfig(const AgentConfig& config);

// Process-wide agent state.
struct AgentStateData {
    bool TestMode = false;
    std::string TestModeURL;
    uint32_t lastTestModeRead = 0;
    bool ProbeEnabled = true;
    bool ForceCheck = false;
    int32_t CheckMode = 0;
    int32_t TimerCount = -3;
    int32_t StopCountdown = -1;
    int32_t AgentState = 0;
    bool JustDownloadInfo = false;
    bool tickBusy = false;
};
AgentStateData& State();
// Back to the values at start (for tests and a restarted agent).
void ResetState();

constexpr char kTestModeKey[] = "HKEY_CURRENT_USER\\Software\\Kolvane\\Tarnix\\AutoUpdate";

// The flows that follow a passed check; until they exist the hand-over logs.
struct HandOvers {
    std::function<void()> performAutoInform;
    std::function<bool()> performAutoUpdate;
    std::function<void()> reStartAutoUpdateExe;
};
void SetHandOvers(const HandOvers& handOvers);

// Message boxes, replaceable so that tests can answer them.
struct Boxes {
    std::function<bool(const std::string& text, const std::string& caption)> confirmYesNo;
    std::function<void(const std::string& text, const std::string& caption)> errorMsg;
    std::function<void(int owner, const std::string& text, const std::string& caption)> warningMsg;
};
void SetBoxes(const Boxes& boxes);
// Tick count source (GetTickCount unless replaced).
void SetTickSource(std::function<uint32_t()> ticks);

bool CheckTestMode(bool force);
void AgentTimerTick();
int32_t ShotTimeStatus();
void AskBeforeCheck(int32_t& status);
void PerformShot();
bool JustDownloadInfoFile();
bool GetOkToPerformAU(bool downloaded, int32_t& level, std::string& text);
bool ReAskDue();
bool IsValidForVersion();
bool CheckDownloadSize(const std::string& source, const std::string& updateName,
                       const std::string& informName);
// kind 1 update descriptor, 2 update setup file, 3 notice file.
bool DownloadFileAU(const std::string& source, const std::string& fileName, int kind,
                    std::string& error);
bool CheckSecretToken(const std::string& file, int kind);

} // namespace stubau
