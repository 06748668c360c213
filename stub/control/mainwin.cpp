#include "stub/control/mainwin.h"

#include "core/lang/langstrings.h"
#include "stub/control/progress.h"
#include "stub/control/trace.h"
#include "stub/lang/langstrings.h"
#include "stub/ui/kdebug.h"
#include "stub/util/handles.h"
#include "stub/util/utils.h"

#include <commctrl.h>

namespace mainwin {
namespace {

struct State {
    Hooks hooks;
    bool ownAbort = false;
    const package::TGFileInfo* package = nullptr;
    HWND window = nullptr;
    HWND status = nullptr;
    HWND mainBar = nullptr;
    HWND activityBar = nullptr;
    win::GdiObject statusFont;
    bool destroyed = false;
};

State& S() {
    static State state;
    return state;
}

bool& AbortFlag() {
    return S().hooks.downloadAbort ? *S().hooks.downloadAbort : S().ownAbort;
}

int PackageCharset() {
    return S().package ? LangCharset(*S().package) : lang::kDefaultCharset;
}

HWND MakeChild(HWND parent, const char* cls, DWORD style, int left, const ControlRect& r) {
    return CreateWindowExA(0, cls, "", style, left, r.top, r.width, r.height, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void CreateControls(HWND window) {
    const bool rtl = lang::IsRightToLeftCharset(PackageCharset());
    State& s = S();
    s.status = MakeChild(window, "Static", WS_CHILD | WS_VISIBLE,
                         rtl ? kStatusLeftRtl : kStatusRect.left, kStatusRect);
    s.mainBar =
        MakeChild(window, PROGRESS_CLASSA, WS_CHILD | WS_VISIBLE, kMainBarRect.left, kMainBarRect);
    s.activityBar = MakeChild(window, PROGRESS_CLASSA, WS_CHILD,
                              rtl ? kActivityLeftRtl : kActivityRect.left, kActivityRect);
    SetProgressBars(s.mainBar, s.activityBar);
    SetTimer(window, kTimerId, kTimerPeriodMs, nullptr);
    s.statusFont.reset(CreateFontA(kStatusFontHeight, 0, 0, 0, FW_DONTCARE, 0, 0, 0, 0, 0, 0, 0, 0,
                                   kStatusFontName));
    if (s.status && s.statusFont)
        SendMessageA(s.status, WM_SETFONT, reinterpret_cast<WPARAM>(s.statusFont.get()), FALSE);
}

void Paint(HWND window) {
    // Validation is left to default processing, so no BeginPaint here.
    HDC dc = GetDC(window);
    if (!dc) return;
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (HICON icon = LoadIconA(GetModuleHandleA(nullptr), kIconName))
        DrawIcon(dc, kIconLeft, kIconTop, icon);
    ReleaseDC(window, dc);
}

LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    State& s = S();
    switch (message) {
    case WM_CREATE:
        CreateControls(window);
        break;
    case WM_PAINT:
        Paint(window);
        break;
    case WM_CLOSE:
        if (!CloseMainWindow()) return 0;
        break;
    case WM_DESTROY:
        ConsoleLine("- wm_Destroy -");
        DestroyMainWindow();
        break;
    case WM_QUIT:
        ConsoleLine("- wm_Quit -");
        DestroyMainWindow();
        break;
    case WM_TIMER:
        if (s.hooks.onTimer) s.hooks.onTimer(window);
        break;
    case kMsgControl:
    case kMsgRegister:
    case kMsgQuery: {
        const LRESULT r = s.hooks.onControlMessage
                              ? s.hooks.onControlMessage(window, message, wParam, lParam)
                              : 0;
        if (message == kMsgQuery) return r;
        DefWindowProcA(window, message, wParam, lParam);
        return r;
    }
    default:
        if (s.hooks.autoPlayCancelMsg) {
            const UINT autoPlay = s.hooks.autoPlayCancelMsg();
            if (autoPlay != 0 && message == autoPlay) return 1;
        }
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleMessage(window, message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's dispatcher.
        return 0;
    }
}

void RunLoop() {
    MSG msg;
    while (!S().destroyed) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

void SetHooks(const Hooks& hooks) {
    S().hooks = hooks;
}

bool RunMainWindow(const std::string& className, const package::TGFileInfo& package) {
    State& s = S();
    s.package = &package;
    s.destroyed = false;
    HINSTANCE instance = GetModuleHandleA(nullptr);

    const int64_t sleep = GetCmdInt(kSleepOption, -1);
    if (sleep >= 0 && sleep <= INT32_MAX && s.hooks.setAgentTimerCount)
        s.hooks.setAgentTimerCount(-int(sleep));

    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&icc);

    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, kIconName);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = className.c_str();
    const bool registered = RegisterClassA(&wc) != 0;

    const POINT at = CenterInWorkArea(kWidth, kHeight);
    // The first language lookup of the process: it fixes the language entry.
    const std::string title = GetLangString(package, lang::kTitle);
    s.window = CreateWindowExA(0, className.c_str(), title.c_str(),
                               WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, at.x, at.y, kWidth,
                               kHeight, nullptr, nullptr, instance, nullptr);
    if (s.hooks.setMsgBoxFont)
        s.hooks.setMsgBoxFont(LangFontName(package), LangFontSize(package), LangCharset(package));

    const bool created = s.window != nullptr;
    if (created) {
        ShowWindow(s.window, SW_HIDE);
        RunLoop();
    }

    if (s.window && IsWindow(s.window)) {
        // The loop ended on a quit message with the window still up.
        KillTimer(s.window, kTimerId);
        DestroyWindow(s.window);
    }
    // The quit posted by DestroyMainWindow() has done its work once the loop
    // is over; left in the queue it would end the thread's next modal loop.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    AbortFlag() = true;
    if (s.hooks.releaseWinInet) s.hooks.releaseWinInet();
    RelayMessage(relay::kLoopEnded, 0);

    SetProgressBars(nullptr, nullptr);
    s.window = s.status = s.mainBar = s.activityBar = nullptr;
    s.statusFont.reset();
    s.package = nullptr;
    if (registered) UnregisterClassA(className.c_str(), instance);
    return created;
}

HWND MainWindow() {
    return S().window;
}
HWND StatusControl() {
    return S().status;
}
HWND MainBar() {
    return S().mainBar;
}
HWND ActivityBar() {
    return S().activityBar;
}

void ShowMainWindow(bool show) {
    if (S().window) ShowWindow(S().window, show ? SW_SHOW : SW_HIDE);
}

void ShowActivityBar(bool show) {
    if (S().activityBar) ShowWindow(S().activityBar, show ? SW_SHOW : SW_HIDE);
}

void StopMainTimer() {
    if (S().window) KillTimer(S().window, kTimerId);
}

void SetStatusText(const std::string& text, const std::string& fontName, int charset, int points) {
    State& s = S();
    if (!s.status) return;
    if (lang::IsRightToLeftCharset(charset)) {
        SetWindowLongPtrA(s.status, GWL_EXSTYLE, WS_EX_RTLREADING);
        SetWindowLongPtrA(s.status, GWL_STYLE, WS_CHILD | WS_VISIBLE | SS_RIGHT);
    } else {
        SetWindowLongPtrA(s.status, GWL_EXSTYLE, 0);
        SetWindowLongPtrA(s.status, GWL_STYLE, WS_CHILD | WS_VISIBLE);
    }
    win::GdiObject font(CreateFontA(-ScaleByDpi(points), 0, 0, 0, 0, 0, 0, 0, DWORD(charset & 0xFF),
                                    0, 0, 0, 0, fontName.c_str()));
    if (font) {
        SendMessageA(s.status, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        // The control no longer uses the old font, so it can go now.
        s.statusFont = std::move(font);
    }
    SetWindowTextA(s.status, text.c_str());
}

bool DownloadAborted() {
    return AbortFlag();
}
void SetDownloadAbort(bool abort) {
    AbortFlag() = abort;
}

bool CloseMainWindow() {
    TraceLine(".. CloseMainWindow() - Start");
    // A close during long work arrives re-entrantly: the first one only asks
    // the work to stop, the second one closes.
    const bool goOn = AbortFlag();
    AbortFlag() = true;
    TraceLine(".. CloseMainWindow() - End");
    return goOn;
}

void DestroyMainWindow() {
    TraceLine(".. DestroyMainWindow() - Start");
    State& s = S();
    AbortFlag() = true;
    if (s.hooks.removeSetupFolder) s.hooks.removeSetupFolder();
    PostQuitMessage(0);
    s.destroyed = true;
    TraceLine(".. DestroyMainWindow() - End");
}

} // namespace mainwin
