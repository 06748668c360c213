#pragma once
// Captures of the tool's own windows as they stand on the screen.
#include <windows.h>

#include <functional>
#include <string>

namespace shots {

// What the X server needs to show what was drawn.
constexpr DWORD kSettleMs = 700;

// The window with its frame as a 32-bit top-down BMP file.
bool CaptureWindow(HWND hwnd, const std::string& path);

// Runs show(), which opens a modal window of windowClass and returns when it
// closes; a helper thread captures the window once it has been drawn and
// then ends it with close().
bool ShootModal(const char* windowClass, const std::string& path, const std::function<void()>& show,
                const std::function<void(HWND)>& close);

} // namespace shots
