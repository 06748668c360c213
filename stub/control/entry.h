#pragma once
// Unit of the program entry: the process-wide state it sets (the running
// executable's package, the agent flag, the window class, the exit code) and
// DoRunStubWin(), which picks the run mode and runs its flow.
#include "core/package/tgfileinfo.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace entry {

// The calls into the update agent. Each one left null does nothing; the
// agent's own unit fills them in.
struct AgentHooks {
    // Makes and starts the transient copy "X_" + name.
    void (*createAndRunXExe)() = nullptr;
    // Hands the plain agent's control options to running agents.
    void (*handleParamOK)(bool xExeIsRunning) = nullptr;
    // Reads the agent's test-mode settings before its window opens.
    void (*checkTestMode)(bool reload) = nullptr;
    // Every timer tick of an agent's main window.
    void (*onTimer)(HWND window) = nullptr;
    // Once the package is read, when it is an agent's.
    void (*configure)(const package::TGFileInfo& package) = nullptr;
    // An agent's main window: its control messages and "/SleepX=".
    LRESULT (*onControlMessage)(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = nullptr;
    void (*setAgentTimerCount)(int count) = nullptr;
};
void SetAgentHooks(const AgentHooks& hooks);
const AgentHooks& Agent();

// Reads the running executable's package and sets the flags derived from it.
void LoadPackageInfo();
// Frees it again (after DoRunStubWin()).
void ReleasePackageInfo();
const package::TGFileInfo& PackageInfo();

bool IsAutoUpdateProg();
// The main window's class and the single-instance key; set by DoRunStubWin().
const std::string& WindowClassName();

// 0 unless a setup run stores the engine's exit code.
DWORD ProcessExitCode();
void SetProcessExitCode(DWORD code);

// The run-mode choice and its flow; returns when the flow has ended.
void DoRunStubWin();

// The whole program: console and trace lines, package, DoRunStubWin().
// Returns the process exit code.
int RunStub();
// The last trace lines, after the end console line.
void EndTrace();

} // namespace entry
