#pragma once
// The run-mode predicates of the running stub: its package, file name,
// command line and the open windows.
namespace runmodes {

// A window of the transient agent's class is open.
bool X_ExeIsRunning();
bool ThisIs_Plain_AutoUpdate_Exe();
bool ThisIs_X_AutoUpdate_Exe();
bool IsFirstSpanRun();
bool IsSpanRelaunch();

} // namespace runmodes
