#pragma once
// The agent's two processes and its control messages: the plain agent makes
// and starts the transient copy "X_" + name and forwards its options to it;
// the copy's main window hands the three control messages to the handler
// here. Other programs steer the agent through the same messages.
#include "core/package/tgfileinfo.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace agentproc {

constexpr UINT kShutDownMsg = WM_USER + 99;
constexpr UINT kLocalMsg = WM_USER + 100;
constexpr UINT kAgentMsg = WM_USER + 101;

// D + "X_" + parameter-block item 2.
std::string TransientPath();

// The plain agent: copies itself to the transient path and starts the copy
// hidden, unless a copy runs (outside restart mode) or the running file is
// not the plain agent.
void CreateAndRun_X_Exe();
// The plain agent: posts "/STOP=", "/WM_MSG=" and "/TEST=" to the copy.
void HandleParamOK(bool copyWasRunning);

// The copy: runs a control code of wm_AgentMsg and returns its result.
int32_t ControlDispatch(int64_t code, int64_t value);
// The main window's handler of WM_USER+99..+101.
LRESULT OnControlMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// "/SleepX=": the timer count the copy starts with.
void SetAgentTimerCount(int count);
// The copy applies an override list handed over as "/TRANSIENTx=".
void ApplyTransientOverrides();

// Hands the package's items to the check cycle and the flows to it.
void ConfigureAgent(const package::TGFileInfo& package);
// Gives the entry the agent's calls (the plain agent's, the copy's tick and
// control messages); ConfigureAgent follows once the package is read.
void InstallAgentHooks();

} // namespace agentproc
