#pragma once
// The main window: a small hidden-at-start top-level window with the status
// text and two progress bars. It is the stub's clock (timer 1, one second),
// its single-instance marker (the class name) and the endpoint of the agent's
// control messages. The flows it starts are reached through hooks that the
// entry sets; a hook left null does nothing.
#include "core/package/tgfileinfo.h"

#include <windows.h>

#include <string>

namespace mainwin {

constexpr int kWidth = 492;
constexpr int kHeight = 110;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerPeriodMs = 1000;
constexpr char kIconName[] = "MainIcon";
constexpr int kIconLeft = 18;
constexpr int kIconTop = 20;

// Child control rectangles in client pixels.
struct ControlRect {
    int left, top, width, height;
};
constexpr ControlRect kStatusRect{70, 20, 340, 18};
constexpr int kStatusLeftRtl = 122;
constexpr ControlRect kMainBarRect{70, 38, 392, 13};
constexpr ControlRect kActivityRect{416, 20, 46, 13};
constexpr int kActivityLeftRtl = 70;

constexpr char kStatusFontName[] = "Tahoma";
constexpr int kStatusFontHeight = -11;

// The agent's control messages from other processes.
constexpr UINT kMsgControl = WM_USER + 99;
constexpr UINT kMsgRegister = WM_USER + 100;
constexpr UINT kMsgQuery = WM_USER + 101;

// "/SleepX=": the agent's first check comes v + 1 ticks later.
constexpr char kSleepOption[] = "/SleepX=";

struct Hooks {
    // Every WM_TIMER: the setup start (normal setup) or the agent's tick.
    void (*onTimer)(HWND window) = nullptr;
    // WM_USER+99..+101: the agent's control handler; its result is returned.
    LRESULT (*onControlMessage)(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = nullptr;
    // "/SleepX=" value v >= 0: the agent's timer count becomes -v.
    void (*setAgentTimerCount)(int count) = nullptr;
    // DestroyMainWindow(): removes the setup folder with its contents.
    void (*removeSetupFolder)() = nullptr;
    // After the message loop: releases the Internet library.
    void (*releaseWinInet)() = nullptr;
    // The downloader's abort flag; null keeps a flag of this unit.
    bool* downloadAbort = nullptr;
    // The message boxes take the language's font.
    void (*setMsgBoxFont)(const std::string& faceName, int sizePoints, int charset) = nullptr;
    // The registered "QueryCancelAutoPlay" number, 0 while not registered.
    UINT (*autoPlayCancelMsg)() = nullptr;
};

void SetHooks(const Hooks& hooks);

// Registers the class, creates the hidden window, runs its message loop until
// the window is destroyed or the quit message arrives, then cleans up. The
// title and fonts come from `package` (the running executable's), which must
// outlive the call. Returns false when the window could not be made.
bool RunMainWindow(const std::string& className, const package::TGFileInfo& package);

// Null outside RunMainWindow.
HWND MainWindow();
HWND StatusControl();
HWND MainBar();
HWND ActivityBar();

void ShowMainWindow(bool show);
void ShowActivityBar(bool show);
void StopMainTimer();

// The status text with a new font of `points` at the screen's vertical dpi;
// charsets 177 and 178 make it right-aligned with right-to-left reading.
void SetStatusText(const std::string& text, const std::string& fontName, int charset, int points);

// The abort flag in use (the hook's or this unit's).
bool DownloadAborted();
void SetDownloadAbort(bool abort);

// The WM_CLOSE handler: true when the close goes on to destroy the window
// (the abort flag was already set); otherwise it only sets the flag.
bool CloseMainWindow();
// The WM_DESTROY handler: abort, remove the setup folder, end the loop.
void DestroyMainWindow();

} // namespace mainwin
