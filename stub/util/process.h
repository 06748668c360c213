#pragma once
// Units ExecPipe and Process: running a console program hidden with its
// output captured, and the top-level windows of the desktop with their
// processes as parallel delimited lists.
#include "core/process/commandline.h"
#include "core/process/processdata.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Receives every captured chunk as it arrives; setting cancel ends the child
// with exit code 255.
using CaptureCallback = void (*)(void* user, const std::string& text, bool& cancel);

// Runs BuildCommandLine(program, parameters) at idle priority with piped
// standard handles; output and error text arrive converted from the OEM to
// the ANSI code page. A start failure gives exit code 21 and LaunchErrorText.
// True when the exit code is 0.
bool RunCaptured(const std::string& program, const std::string& parameters, int showMode,
                 CaptureCallback callback, void* user, DWORD waitAfterMs, std::string& errorText,
                 std::string& outputText, DWORD& exitCode);

// One entry of a ToolHelp process snapshot (loaded by name).
struct SnapshotProcess {
    uint32_t processId = 0;
    std::string exeFile;
};
// Empty when the snapshot cannot be taken.
std::vector<SnapshotProcess> ProcessSnapshot();

// Fills data from one pass over the top-level windows (see TProcessData::Consider).
void EnumProcessWindows(bool allWindows, const std::string& wantedFileName, int64_t wantedProcessId,
                        TProcessData& data);
// file name=pid (byPid) or file name=window (byWindow) pairs, else the names.
std::string ProcessList(bool byPid, bool byWindow);
