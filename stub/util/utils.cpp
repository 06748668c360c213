#include "stub/util/utils.h"

#include "core/util/cmdline.h"
#include "core/util/numbers.h"
#include "core/util/text.h"
#include "stub/util/console.h"
#include "stub/util/paths.h"

#include <shellapi.h>

#include <exception>
#include <vector>

int64_t TickMs() {
    static const double factor = [] {
        LARGE_INTEGER f;
        if (!QueryPerformanceFrequency(&f) || f.QuadPart <= 0) return 0.0;
        return 1000.0 / static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER c;
    if (factor == 0.0 || !QueryPerformanceCounter(&c)) return static_cast<int64_t>(GetTickCount());
    return static_cast<int64_t>(static_cast<double>(c.QuadPart) * factor);
}

void PumpMessages(int ms) {
    bool quit = false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The quit belongs to the outer message loop: put it back.
            PostQuitMessage(static_cast<int>(msg.wParam));
            quit = true;
            break;
        }
        try {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } catch (const std::exception& e) {
            utilout::Line(ExceptionLine("YieldX", "", e.what()));
        } catch (...) {
            utilout::Line(ExceptionLine("YieldX", "", "unknown exception"));
        }
    }
    if (ms <= 0) return;
    if (quit) {
        // A pending quit wakes every queue wait at once.
        Sleep(static_cast<DWORD>(ms));
        return;
    }
    // Sleeping on the queue (not Sleep) counts as input-idle for a WinExec
    // that started this program, and wakes early for new messages.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(ms), QS_ALLINPUT);
}

void WaitPumping(int step, int ms) {
    step = WaitPumpingStep(step, ms);
    const int64_t end = TickMs() + ms;
    do {
        const int64_t left = end - TickMs();
        PumpMessages(left < step ? static_cast<int>(left < 0 ? 0 : left) : step);
    } while (TickMs() < end);
}

std::string ErrorText(DWORD code) {
    try {
        char* buffer = nullptr;
        DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
        std::string text;
        if (n > 0 && buffer != nullptr) text.assign(buffer, n);
        if (buffer != nullptr) LocalFree(buffer);
        while (!text.empty() &&
               (static_cast<unsigned char>(text.back()) <= 0x20 || text.back() == '.'))
            text.pop_back();
        // An empty text means success to the callers: never give one for an error.
        if (text.empty()) text = "Error " + std::to_string(code);
        return text;
    } catch (...) {
        return "Error Reading \"SysUtils.SysErrorMessage(GetLastError)\"";
    }
}

std::string LastErrorText() {
    return ErrorText(GetLastError());
}

FARPROC LoadProcAddress(const char* library, const char* entryPoint, HMODULE* module) {
    if (module != nullptr) *module = nullptr;
    if (library == nullptr || entryPoint == nullptr) return nullptr;
    HMODULE h = LoadLibraryA(library);
    if (reinterpret_cast<ULONG_PTR>(h) < 33) return nullptr;
    FARPROC p = GetProcAddress(h, entryPoint);
    if (module != nullptr) {
        if (p == nullptr) {
            FreeLibrary(h);
            return nullptr;
        }
        *module = h;
    }
    return p;
}

bool ShellOpen(const std::string& file, const std::string& parameters, int showMode) {
    HINSTANCE r =
        ShellExecuteA(GetDesktopWindow(), nullptr, file.c_str(),
                      parameters.empty() ? nullptr : parameters.c_str(), nullptr, showMode);
    return reinterpret_cast<INT_PTR>(r) > 32;
}

std::string WindowTextOf(HWND window) {
    if (window == nullptr) return std::string();
    int n = GetWindowTextLengthA(window);
    if (n <= 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(n) + 1);
    int got = GetWindowTextA(window, buffer.data(), n + 1);
    return std::string(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

std::string WindowClassOf(HWND window) {
    if (window == nullptr) return std::string();
    char name[257] = {}; // class names are at most 256 bytes
    int n = GetClassNameA(window, name, sizeof name);
    return std::string(name, n > 0 ? static_cast<size_t>(n) : 0);
}

HWND TopOwner(HWND window) {
    HWND top = window;
    while (top != nullptr) {
        HWND owner = GetWindow(top, GW_OWNER);
        if (owner == nullptr) break;
        top = owner;
    }
    return top;
}

int ScreenDpiY() {
    static const int dpi = [] {
        HDC dc = GetDC(nullptr);
        int v = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
        if (dc != nullptr) ReleaseDC(nullptr, dc);
        return v > 0 ? v : 96;
    }();
    return dpi;
}

int ScaleByDpi(int points) {
    return MulDiv(points, ScreenDpiY(), 72);
}

POINT CenterInWorkArea(int width, int height) {
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    POINT p;
    p.x = work.left + (work.right - work.left - width) / 2;
    p.y = work.top + (work.bottom - work.top - height) / 2;
    return p;
}

char LocaleDecimalSeparator() {
    char sep[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, sep, sizeof sep) >= 2) return sep[0];
    return '.';
}

std::string CommandTail() {
    const char* raw = GetCommandLineA();
    return CommandTailOf(raw != nullptr ? raw : "", ExePath(false));
}

std::string GetCmdValue(const std::string& name, const std::string& def) {
    return GetCmdValueOf(CommandTail(), name, def);
}

int64_t GetCmdInt(const std::string& name, int64_t def) {
    return GetCmdIntOf(CommandTail(), name, def);
}

bool HasCmdWord(const std::string& word) {
    return HasCmdWordOf(CommandTail(), word);
}
