#pragma once
// Unit ProcessViewer: finds running processes by the path of their executable
// and acts on them. Every call lists the processes afresh, by the method the
// Windows version calls for.
#include <windows.h>

#include <cstdint>
#include <string>

enum class ProcessListing {
    Tasklist, // Windows 8 and later: "tasklist.exe /FO csv"
    Psapi,    // the other NT-family systems
    Toolhelp, // elsewhere
};
ProcessListing CurrentProcessListing();

// 0 when no process matches. fullPathOnly keeps a bare file name from
// matching (not on Windows 8 and later, where only file names are listed).
uint32_t FindProcessId(const std::string& target, bool fullPathOnly);
// name=pid items.
std::string ProcessNameList(bool fullPaths);
bool IsProcessRunning(const std::string& target);
// Returns when the program is gone or after ms (0: 1000), dispatching messages.
void WaitProcessEnd(const std::string& target, uint32_t ms);
// Returns when no top-level window of that class (and title, when not empty) exists.
void WaitWhileWindowExists(const std::string& className, const std::string& title);
HWND FindProcessMainWindow(const std::string& target, bool fullPathOnly);
// Posts to the process's main window; false when it has none.
bool PostProcessMessage(const std::string& target, bool fullPathOnly, UINT message, WPARAM wParam,
                        LPARAM lParam);
void CloseProcessWindow(const std::string& target, bool fullPathOnly, uint32_t waitMs);
void QuitProcessWindow(const std::string& target, bool fullPathOnly);
bool TerminateProcessByPath(const std::string& target, bool fullPathOnly);

// The 8.3 form of an existing path; empty when there is none.
std::string ShortPathOf(const std::string& path);
