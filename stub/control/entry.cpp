#include "stub/control/entry.h"

#include "core/control/runmodes.h"
#include "core/util/numbers.h"
#include "stub/control/mainwin.h"
#include "stub/control/runmodes.h"
#include "stub/control/trace.h"
#include "stub/net/inethttp.h"
#include "stub/package/win_file_source.h"
#include "stub/setup/spanrelaunch.h"
#include "stub/setup/stubsetup.h"
#include "stub/ui/kdebug.h"
#include "stub/ui/kmsgbox.h"
#include "stub/util/files.h"
#include "stub/util/paths.h"
#include "stub/util/sysinfo.h"

namespace entry {
namespace {

struct State {
    AgentHooks agent;
    package::TGFileInfo package;
    bool isAgent = false;
    std::string windowClass;
    DWORD exitCode = 0;
};

State& S() {
    static State state;
    return state;
}

std::string Pid() {
    return std::to_string(GetCurrentProcessId());
}

std::string CommandLineText() {
    const char* raw = GetCommandLineA();
    return raw ? raw : "";
}

void OnTimer(HWND window) {
    if (S().isAgent) {
        if (S().agent.onTimer) S().agent.onTimer(window);
        return;
    }
    SetupStart(window);
}

void RunMainWindow() {
    mainwin::Hooks h;
    h.onTimer = OnTimer;
    h.removeSetupFolder = RemoveSetupFolder;
    h.releaseWinInet = ReleaseWinInet;
    h.setMsgBoxFont = SetMsgBoxFont;
    h.autoPlayCancelMsg = AutoPlayCancelMsg;
    if (S().isAgent) {
        h.onControlMessage = S().agent.onControlMessage;
        h.setAgentTimerCount = S().agent.setAgentTimerCount;
    }
    mainwin::SetHooks(h);
    mainwin::RunMainWindow(S().windowClass, S().package);
}

} // namespace

void SetAgentHooks(const AgentHooks& hooks) {
    S().agent = hooks;
}
const AgentHooks& Agent() {
    return S().agent;
}

void LoadPackageInfo() {
    State& s = S();
    s.package = package::ReadPackageInfo(ExePath(false));
    s.isAgent = s.package.IsAutoUpdateAgent();
    SetTraceEnabled(s.isAgent && s.package.WriteTraceLog());
    if (s.isAgent && s.agent.configure) s.agent.configure(s.package);
}

void ReleasePackageInfo() {
    S().package = package::TGFileInfo();
}

const package::TGFileInfo& PackageInfo() {
    return S().package;
}

bool IsAutoUpdateProg() {
    return S().isAgent;
}

const std::string& WindowClassName() {
    return S().windowClass;
}

DWORD ProcessExitCode() {
    return S().exitCode;
}
void SetProcessExitCode(DWORD code) {
    S().exitCode = code;
}

void DoRunStubWin() {
    State& s = S();
    TraceLine("DoRunStubWin() --- Start");
    s.windowClass = runmodes::WindowClassNameFor(s.isAgent, ExePath(false));
    const bool xRunning = runmodes::X_ExeIsRunning();
    TraceLine("X_ExeIsRunning=" + BoolText(xRunning));
    TraceLine("ThisIs_Plain_AutoUpdate_Exe=" + BoolText(runmodes::ThisIs_Plain_AutoUpdate_Exe()));
    TraceLine("ThisIs_X_AutoUpdate_Exe=" + BoolText(runmodes::ThisIs_X_AutoUpdate_Exe()));

    if (FindWindowA(s.windowClass.c_str(), nullptr) != nullptr) {
        ConsoleLine(Pid() + " ==== already running: " + s.windowClass);
    } else if (runmodes::ThisIs_Plain_AutoUpdate_Exe()) {
        if (s.agent.createAndRunXExe) s.agent.createAndRunXExe();
    } else if (runmodes::ThisIs_X_AutoUpdate_Exe()) {
        TraceLine("CheckTestMode");
        if (s.agent.checkTestMode) s.agent.checkTestMode(true);
        TraceLine("WinMain");
        RunMainWindow();
        TraceLine("DeleteMySelf");
        DeleteMySelf(false, false);
    } else if (runmodes::IsFirstSpanRun()) {
        SpanRelaunch();
    } else {
        RunMainWindow();
        if (runmodes::IsSpanRelaunch()) DeleteMySelf(true, false);
    }

    if (runmodes::ThisIs_Plain_AutoUpdate_Exe() && s.agent.handleParamOK)
        s.agent.handleParamOK(xRunning);
    TraceLine("DoRunStubWin() --- End");
}

int RunStub() {
    const std::string pid = Pid();
    const std::string commandLine = CommandLineText();
    const std::string exe = ExePath(false);
    LoadPackageInfo();
    if (runmodes::ThisIs_X_AutoUpdate_Exe()) SetTraceIndent(" X ");
    TraceLine("");
    TraceLine("");
    TraceLine("=== START === " + exe);
    TraceLine("CommandLine=" + commandLine);
    TraceLine("Agent Version=" + GetExeVersion(""));
    ConsoleLine(pid + " ==== ThisIs_AutoUpdateProg=" + BoolText(IsAutoUpdateProg()));

    DoRunStubWin();

    ReleasePackageInfo();
    return int(ProcessExitCode());
}

void EndTrace() {
    TraceLine("=== EXIT === " + ExePath(false));
    TraceLine("");
}

} // namespace entry
