#include "stub/agent/agentproc.h"

#include "core/agent/agent_control.h"
#include "core/util/text.h"
#include "stub/agent/autoupdate.h"
#include "stub/agent/descriptors.h"
#include "stub/agent/informdlg.h"
#include "stub/agent/processviewer.h"
#include "stub/agent/stubau.h"
#include "stub/control/entry.h"
#include "stub/control/progress.h"
#include "stub/control/runmodes.h"
#include "stub/control/trace.h"
#include "stub/ui/kdebug.h"
#include "stub/util/paths.h"
#include "stub/util/utils.h"

namespace agentproc {

namespace {

std::string Pid() {
    return std::to_string(GetCurrentProcessId());
}

std::string AgentName() {
    return Trim(entry::PackageInfo().AgentName());
}

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string RunningFileName() {
    const std::string exe = ExePath(false);
    size_t cut = exe.find_last_of("\\/:");
    return cut == std::string::npos ? exe : exe.substr(cut + 1);
}

void Post(const std::string& target, UINT message, WPARAM wParam, LPARAM lParam) {
    // No window means no copy to tell; the plain agent ends anyway.
    PostProcessMessage(target, true, message, wParam, lParam);
}

int64_t ReadItem(agent::ControlItem item) {
    using I = agent::ControlItem;
    switch (item) {
    case I::VersionOriginal:
        return agent::original::VersionOriginal();
    case I::VersionNew:
        return agent::info::VersionNew();
    case I::AgentState:
        return stubau::State().AgentState;
    case I::ProbeSecondsInterval:
        return agent::original::ProbeSecondsInterval();
    case I::ReAskSecondsInterval:
        return agent::original::ReAskSecondsInterval();
    case I::ProbeSecondsLast:
        return agent::original::ProbeSecondsLast();
    case I::ReAskSecondsLast:
        return agent::original::ReAskSecondsLast();
    case I::None:
        break;
    }
    return 0;
}

void WriteItem(agent::ControlItem item, int64_t value) {
    using I = agent::ControlItem;
    switch (item) {
    case I::ProbeSecondsInterval:
        agent::original::WriteProbeSecondsInterval(value);
        break;
    case I::ReAskSecondsInterval:
        agent::original::WriteReAskSecondsInterval(value);
        break;
    case I::ProbeSecondsLast:
        agent::original::WriteProbeSecondsLast(value);
        break;
    case I::ReAskSecondsLast:
        agent::original::WriteReAskSecondsLast(value);
        break;
    default:
        break;
    }
}

void OnTimer(HWND) {
    stubau::AgentTimerTick();
}

void CheckTestModeHook(bool reload) {
    stubau::CheckTestMode(reload);
    // The copy starts here, before its window opens: the handed-over
    // overrides must be in place before the first check.
    if (runmodes::ThisIs_X_AutoUpdate_Exe()) ApplyTransientOverrides();
}

} // namespace

std::string TransientPath() {
    return ExeDir(true) + agent::kCopyPrefix + AgentName();
}

void CreateAndRun_X_Exe() {
    TraceLine("CreateAndRun_X_Exe() --- Start");
    const std::string zz = GetCmdValue(agent::kRestartOption, "");
    ConsoleLine(Pid() + " CreateAndRun_X_Exe-1 " + zz);
    const bool restartMode = zz == agent::kRestartModeValue;
    if (entry::IsAutoUpdateProg() && (restartMode || !runmodes::X_ExeIsRunning()) &&
        SameTextTrim(RunningFileName(), AgentName())) {
        ConsoleLine(Pid() + " CreateAndRun_X_Exe-2");
        const int64_t wait = GetCmdInt(agent::kWaitOption, 0);
        TraceLine("Wait " + std::to_string(wait) + " SEC");
        if (wait > 0 && wait < INT32_MAX / 1000) WaitPumping(0, static_cast<int>(wait * 1000));

        const std::string transient = TransientPath();
        CopyFileA(ExePath(false).c_str(), transient.c_str(), FALSE);
        TraceLine("Create X_ File ");

        const std::string arguments = agent::CopyArguments(GetCmdValue(agent::kTransientOption, ""),
                                                           GetCmdValue(agent::kDelayOption, ""));
        TraceLine("WinExec: " + transient + arguments);
        // Quoted, so that a folder with blanks cannot be taken for another program.
        const std::string command = "\"" + transient + "\"" + arguments;
        WinExec(command.c_str(), SW_HIDE);

        if (!CommandTail().empty()) {
            const int64_t start = TickMs();
            while (!IsProcessRunning(transient) && TickMs() - start < agent::kCopyStartWaitMs)
                WaitPumping(0, agent::kCopyStartPollMs);
        }
    }
    TraceLine("CreateAndRun_X_Exe() --- End");
}

void HandleParamOK(bool copyWasRunning) {
    TraceLine("HandleParamOK() --- Start");
    const std::string x = TransientPath();
    const bool exists = FileExists(x);

    const int64_t stop = GetCmdInt(agent::kStopOption, -1);
    if (stop >= 0 && exists) {
        TraceLine("PostProcessMessage(wm_ShutDown) to: " + x);
        Post(x, kShutDownMsg, static_cast<WPARAM>(stop), 0);
    }

    const std::string peer = GetCmdValue(agent::kPeerOption, "");
    if (!peer.empty() && exists) {
        const agent::PeerTarget t = agent::PeerTargetOf(peer);
        TraceLine("PostProcessMessage(wm_LocalMsg) to: " + x + " - " + t.list);
        Post(x, kLocalMsg, static_cast<WPARAM>(t.window), static_cast<LPARAM>(t.number));
    }

    const int64_t test = GetCmdInt(agent::kTestOption, -1);
    if (test >= 0 && exists) {
        TraceLine("PostProcessMessage(wm_AgentMsg) to: " + x + " - " + "AU_PerformUpdateCycle (" +
                  std::to_string(test) + ")");
        Post(x, kAgentMsg, 31, static_cast<LPARAM>(test));
        // A copy started only for this request ends at its third idle tick.
        if (!copyWasRunning && test > 0) Post(x, kShutDownMsg, 2, 0);
    }

    const std::string overrides = GetCmdValue(agent::kTransientOverridesOption, "");
    if (!overrides.empty()) agent::ApplyOverrideList(overrides);
    TraceLine("HandleParamOK() --- End");
}

int32_t ControlDispatch(int64_t code, int64_t messageValue) {
    const agent::ControlCode what = agent::ControlCodeOf(code);
    const int64_t value = agent::ControlValueOf(messageValue);
    stubau::AgentStateData& state = stubau::State();
    using A = agent::ControlAction;
    switch (what.action) {
    case A::Read:
        return agent::ControlResultOf(ReadItem(what.item));
    case A::Write:
        WriteItem(what.item, value);
        break;
    case A::Override:
        agent::SetOverride(what.overrideIndex, value);
        break;
    case A::StopCountdown:
        state.StopCountdown = static_cast<int32_t>(value);
        break;
    case A::ForceCheck:
        state.ForceCheck = true;
        state.TimerCount = agent::ForcedTimerCount(state.TimerCount);
        if (value == agent::kUserRequestedTest) state.CheckMode = 2;
        break;
    case A::JustDownloadInfo:
        state.JustDownloadInfo = true;
        break;
    case A::None:
        break;
    }
    return 0;
}

LRESULT OnControlMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kShutDownMsg:
        ConsoleLine(Pid() + " wm_ShutDown " + std::to_string(static_cast<int32_t>(wParam)));
        stubau::State().StopCountdown = static_cast<int32_t>(wParam);
        return 0;
    case kLocalMsg: {
        HWND peer = reinterpret_cast<HWND>(wParam);
        ConsoleLine(Pid() + " wm_LocalMsg " + std::to_string(static_cast<int64_t>(wParam)) + ":" +
                    std::to_string(static_cast<int64_t>(lParam)));
        SetRelayPeer(peer, static_cast<UINT>(lParam));
        RelayMessage(relay::kMainWindow, reinterpret_cast<LPARAM>(window));
        RelayMessage(relay::kQueryMessage, kAgentMsg);
        return 0;
    }
    case kAgentMsg:
        return static_cast<LRESULT>(
            ControlDispatch(static_cast<int64_t>(wParam), static_cast<int64_t>(lParam)));
    default:
        return 0;
    }
}

void SetAgentTimerCount(int count) {
    stubau::State().TimerCount = count;
}

void ApplyTransientOverrides() {
    const std::string overrides = GetCmdValue(agent::kTransientOverridesOption, "");
    if (overrides.empty()) return;
    TraceLine("ApplyOverrideList: " + overrides);
    agent::ApplyOverrideList(overrides);
}

void ConfigureAgent(const package::TGFileInfo& package) {
    stubau::SetAgentConfig(
        {package.UpdateLocation(), package.DescriptorName(), package.Token(false)});
    stubau::HandOvers h;
    h.performAutoInform = [] { PerformAutoInform(); };
    h.performAutoUpdate = PerformAutoUpdate;
    h.reStartAutoUpdateExe = ReStartAutoUpdateExe;
    stubau::SetHandOvers(h);
}

void InstallAgentHooks() {
    entry::AgentHooks hooks;
    hooks.createAndRunXExe = CreateAndRun_X_Exe;
    hooks.handleParamOK = HandleParamOK;
    hooks.checkTestMode = CheckTestModeHook;
    hooks.onTimer = OnTimer;
    hooks.configure = ConfigureAgent;
    hooks.onControlMessage = OnControlMessage;
    hooks.setAgentTimerCount = SetAgentTimerCount;
    entry::SetAgentHooks(hooks);
}

} // namespace agentproc
