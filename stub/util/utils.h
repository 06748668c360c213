#pragma once
// Unit Utils, Windows part: the message-pumping wait, timing, error texts,
// loading entry points by name, the shell, window and screen helpers, the
// command-line reader and the user's number format.
#include "stub/util/handles.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

// Milliseconds from the performance counter.
int64_t TickMs();
// Dispatches every pending message of the thread, then sleeps ms on the queue.
void PumpMessages(int ms);
// Waits ms milliseconds while dispatching messages in steps of `step` ms
// (0: ms / 10, clamped to 1..25).
void WaitPumping(int step, int ms);

// System message text of an error code; LastErrorText of GetLastError().
std::string ErrorText(DWORD code);
std::string LastErrorText();

// Loads `library` (it stays loaded) and returns its entry point as Fn, or
// null. Keep the result in a function-local static to look it up once.
FARPROC LoadProcAddress(const char* library, const char* entryPoint, HMODULE* module);
template <typename Fn> Fn LoadProc(const char* library, const char* entryPoint) {
    FARPROC p = LoadProcAddress(library, entryPoint, nullptr);
    Fn fn = nullptr;
    static_assert(sizeof(fn) == sizeof(p), "entry points are plain function pointers");
    std::memcpy(&fn, &p, sizeof fn);
    return fn;
}
// The variant that hands over the module, so that the caller frees it.
template <typename Fn>
Fn LoadProc(const char* library, const char* entryPoint, win::Module& module) {
    HMODULE h = nullptr;
    FARPROC p = LoadProcAddress(library, entryPoint, &h);
    module.reset(h);
    Fn fn = nullptr;
    static_assert(sizeof(fn) == sizeof(p), "entry points are plain function pointers");
    std::memcpy(&fn, &p, sizeof fn);
    return fn;
}

// The shell's default verb on file, parented to the desktop window.
bool ShellOpen(const std::string& file, const std::string& parameters, int showMode);

std::string WindowTextOf(HWND window);
std::string WindowClassOf(HWND window);
// The last window of the owner chain (the window itself when it has no owner).
HWND TopOwner(HWND window);

int ScreenDpiY();
int ScaleByDpi(int points);
// Left and top that centre a width x height window in the desktop work area.
POINT CenterInWorkArea(int width, int height);

// The user's decimal separator (for FloatToFixed).
char LocaleDecimalSeparator();

// The command line of this process without the program name, trimmed.
std::string CommandTail();
std::string GetCmdValue(const std::string& name, const std::string& def);
int64_t GetCmdInt(const std::string& name, int64_t def);
bool HasCmdWord(const std::string& word);
