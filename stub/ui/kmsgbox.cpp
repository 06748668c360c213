#include "stub/ui/kmsgbox.h"

#include <richedit.h>

#include <algorithm>
#include <vector>

#include "core/ui/msgbox_layout.h"
#include "core/util/ksub.h"
#include "core/util/switches.h"
#include "core/util/text.h"
#include "stub/ui/kmsgbox_testing.h"
#include "stub/util/handles.h"

namespace {

const char kClassName[] = "KMsgBox";
const char kDefaultButtons[] = "|&OK|&Cancel|&Yes|&No|&Abort|&Retry|&Ignore|";
const char kDefaultCaptions[] = "|Error|Attention|Confirm|";
const char kDeveloperShiftText[] = "Do you want to store the new Entry in";
constexpr UINT_PTR kTimeoutTimer = 1;
constexpr int kDeveloperShift = 150;
constexpr int kWidthTries = 21;
const COLORREF kBandColour = RGB(0, 78, 152);

struct FontState {
    std::string face = "Tahoma";
    int sizePoints = 8;
    int charset = 1;
};
FontState g_font;
UINT g_autoPlayMsg = 0;
bool g_plainText = false;
int g_openBoxes = 0; // the class is registered while a box is open

// One open box. Boxes can nest (a timer of another window may open one while
// a box waits), so the state lives with each box window.
struct Box {
    int result = 0;
    std::vector<HWND> buttons;
    std::vector<int> codes;
    std::vector<std::string> captions;
    int defaultIndex = -1;
    int timeoutMs = 0;
    HWND hwnd = nullptr;
    HWND text = nullptr;
    HWND remembered = nullptr;
    HFONT font = nullptr;
    HICON icon = nullptr;
    bool rich = false;
    bool noClose = false;
    bool gotRequest = false;
    int requestedW = 0;
    int requestedH = 0;
    bool ended = false;
};

int ScreenDpi() {
    static const int dpi = [] {
        HDC dc = GetDC(nullptr);
        int v = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
        if (dc) ReleaseDC(nullptr, dc);
        return v > 0 ? v : 96;
    }();
    return dpi;
}

// Loaded once and kept until the program ends.
bool RichEditAvailable() {
    static const bool available = [] {
        static win::Module lib(LoadLibraryA("RICHED32.DLL"));
        WNDCLASSA wc;
        return lib && GetClassInfoA(nullptr, "RICHEDIT", &wc) != 0;
    }();
    return available;
}

// Window messages are dispatched for a while; a quit request is kept for the
// caller's loop.
void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

Box* BoxOf(HWND hwnd) {
    return reinterpret_cast<Box*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void Choose(Box& box, int index) {
    box.result = box.codes[static_cast<size_t>(index)];
    SendMessageA(box.hwnd, WM_CLOSE, 0, 0);
}

int FocusedButton(const Box& box) {
    HWND focus = GetFocus();
    for (size_t i = 0; i < box.buttons.size(); ++i)
        if (box.buttons[i] == focus) return static_cast<int>(i);
    return -1;
}

// Keyboard handling of the modal loop; true when the message is consumed.
bool HandleKey(Box& box, const MSG& msg) {
    if (msg.hwnd != box.hwnd && !IsChild(box.hwnd, msg.hwnd)) return false;
    const int count = static_cast<int>(box.buttons.size());
    if (msg.message == WM_SYSCHAR) {
        int i = msgbox::AltCharButton(box.captions, static_cast<char>(msg.wParam));
        if (i < 0) return false;
        Choose(box, i);
        return true;
    }
    if (msg.message != WM_KEYDOWN) return false;
    switch (msg.wParam) {
    case VK_ESCAPE:
        box.result = 0;
        SendMessageA(box.hwnd, WM_CLOSE, 0, 0);
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_TAB:
    case VK_RIGHT:
    case VK_DOWN: {
        if (count == 0) return true;
        int at = FocusedButton(box);
        if (at < 0) at = std::max(box.defaultIndex, 0);
        bool back = msg.wParam == VK_LEFT || msg.wParam == VK_UP;
        SetFocus(box.buttons[static_cast<size_t>((at + (back ? count - 1 : 1)) % count)]);
        return true;
    }
    case VK_RETURN: {
        int at = FocusedButton(box);
        if (at < 0) at = box.defaultIndex; // focus on the text: the default button
        if (at < 0) return false;
        Choose(box, at);
        return true;
    }
    default: {
        int i = msgbox::LetterKeyButton(box.captions, static_cast<int>(msg.wParam));
        if (i < 0) return false;
        Choose(box, i);
        return true;
    }
    }
}

void Paint(Box& box) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box.hwnd, &ps);
    RECT client;
    GetClientRect(box.hwnd, &client);
    const int w = client.right;
    const int h = client.bottom;
    auto fill = [dc](int l, int t, int r, int b, HBRUSH brush) {
        RECT rc = {l, t, r, b};
        FillRect(dc, &rc, brush);
    };
    fill(0, 0, w, h, GetSysColorBrush(COLOR_WINDOW));
    fill(0, h - 37, w, h - 36, GetSysColorBrush(COLOR_3DDKSHADOW));
    fill(0, h - 36, w, h - 35, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    fill(0, h - 35, w, h, GetSysColorBrush(COLOR_BTNFACE));
    win::GdiObject band(CreateSolidBrush(kBandColour));
    if (band) fill(0, 0, msgbox::kBandWidth, h - 37, static_cast<HBRUSH>(band.get()));
    if (box.icon) DrawIcon(dc, 11, 20, box.icon);
    EndPaint(box.hwnd, &ps);
}

LRESULT HandleMessage(Box& box, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (g_autoPlayMsg != 0 && msg == g_autoPlayMsg) return 1;
    switch (msg) {
    case WM_CREATE:
        if (box.timeoutMs > 0)
            SetTimer(hwnd, kTimeoutTimer, static_cast<UINT>(box.timeoutMs), nullptr);
        return 0;
    case WM_TIMER:
        if (wp != kTimeoutTimer) break;
        KillTimer(hwnd, kTimeoutTimer);
        box.result = box.codes.empty() ? 0 : box.codes.front();
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED) {
            auto it = std::find(box.buttons.begin(), box.buttons.end(), reinterpret_cast<HWND>(lp));
            if (it != box.buttons.end()) {
                Choose(box, static_cast<int>(it - box.buttons.begin()));
                return 0;
            }
        }
        break;
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_CLOSE && box.noClose) return 0;
        break;
    case WM_CLOSE:
        // Enable the remembered window before this one goes, so that it gets
        // the activation back instead of some other program.
        if (box.remembered && IsWindow(box.remembered)) {
            EnableWindow(box.remembered, TRUE);
            SetActiveWindow(box.remembered);
            SetFocus(box.remembered);
        }
        KillTimer(hwnd, kTimeoutTimer);
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        box.ended = true;
        // A close sent from another thread is handled inside GetMessage, which
        // would go on waiting: wake the modal loop.
        PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
        return 0;
    case WM_NOTIFY: {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lp);
        if (hdr && hdr->hwndFrom == box.text && hdr->code == EN_REQUESTRESIZE) {
            const REQRESIZE* req = reinterpret_cast<const REQRESIZE*>(lp);
            box.requestedW = req->rc.right - req->rc.left;
            box.requestedH = req->rc.bottom - req->rc.top;
            box.gotRequest = true;
            return 0;
        }
        break;
    }
    case WM_CTLCOLORSTATIC: // the read-only stand-in edit control
        if (reinterpret_cast<HWND>(lp) == box.text) {
            SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        break;
    case WM_PAINT:
        Paint(box);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    try {
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
            auto* box = static_cast<Box*>(cs->lpCreateParams);
            box->hwnd = hwnd;
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(box));
        }
        Box* box = BoxOf(hwnd);
        if (!box) return DefWindowProcA(hwnd, msg, wp, lp);
        return HandleMessage(*box, hwnd, msg, wp, lp);
    } catch (...) {
        return 0;
    }
}

bool RegisterBoxClass() {
    if (g_openBoxes > 0) return true;
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = BoxProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HICON IconFor(uint32_t flags) {
    switch (flags & msgbox::kIconMask) {
    case msgbox::kIconHand:
        return LoadIcon(nullptr, IDI_HAND);
    case msgbox::kIconQuestion:
        return LoadIcon(nullptr, IDI_QUESTION);
    case msgbox::kIconExclamation:
        return LoadIcon(nullptr, IDI_EXCLAMATION);
    case msgbox::kIconAsterisk:
        return LoadIcon(nullptr, IDI_ASTERISK);
    default:
        return LoadIconA(GetModuleHandleA(nullptr), "MainIcon");
    }
}

void ApplyParagraph(HWND text, uint32_t flags) {
    PARAFORMAT2 pf = {};
    pf.cbSize = sizeof(pf);
    if (flags & msgbox::kRightAligned) {
        pf.dwMask |= PFM_ALIGNMENT;
        pf.wAlignment = PFA_RIGHT;
    }
    if (flags & msgbox::kRtlReading) {
        pf.dwMask |= PFM_RTLPARA;
        pf.wEffects |= PFE_RTLPARA;
    }
    if (pf.dwMask == 0) return;
    SendMessageA(text, EM_SETSEL, 0, -1);
    if (!SendMessageA(text, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf))) {
        // A 1.0 control may take only the short record.
        pf.cbSize = sizeof(PARAFORMAT);
        pf.dwMask &= PFM_ALIGNMENT;
        if (pf.dwMask) SendMessageA(text, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
    }
}

void ApplyBold(HWND text, const MarkupText& markup) {
    std::vector<BoldSpan> spans = markup.spans;
    size_t lineEnds = 0;
    for (size_t i = 1; i < markup.text.size(); ++i)
        if (markup.text[i - 1] == '\r' && markup.text[i] == '\n') ++lineEnds;
    if (lineEnds > 0) {
        // A control that keeps a line end as one character reports a shorter end.
        CHARRANGE all = {0, -1};
        SendMessageA(text, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
        CHARRANGE got = {0, 0};
        SendMessageA(text, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&got));
        if (static_cast<size_t>(got.cpMax) == markup.text.size() - lineEnds)
            spans = MapSpansToSingleLineEnds(markup.text, spans);
    }
    for (const BoldSpan& s : spans) {
        if (s.end <= s.start) continue;
        CHARRANGE r = {static_cast<LONG>(s.start), static_cast<LONG>(s.end)};
        SendMessageA(text, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
        CHARFORMATA cf = {};
        cf.cbSize = sizeof(cf);
        cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
        cf.dwEffects = CFE_BOLD;
        SendMessageA(text, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    }
}

msgbox::Size MeasureWithFont(HWND text, HFONT font, const std::string& plain) {
    HDC dc = GetDC(text);
    if (!dc) return {msgbox::kMaxLineWidth, 13};
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    int lineHeight = msgbox::LineHeight(tm.tmHeight, tm.tmExternalLeading, g_font.face);
    msgbox::Size size = msgbox::MeasureText(plain, lineHeight, [dc](const std::string& line) {
        SIZE ext = {0, 0};
        GetTextExtentPoint32A(dc, line.data(), static_cast<int>(line.size()), &ext);
        return static_cast<int>(ext.cx);
    });
    SelectObject(dc, old);
    ReleaseDC(text, dc);
    return size;
}

void SizeTextControl(Box& box, const MarkupText& markup) {
    msgbox::Size measured = MeasureWithFont(box.text, box.font, markup.text);
    const UINT keep = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    int width = measured.w + 10;
    SetWindowPos(box.text, nullptr, 0, 0, width, measured.h, keep);
    if (!box.rich || markup.spans.empty()) return;
    // Bold text is wider than the measure: widen until nothing wraps.
    int widest = 0;
    for (int i = 0; i < kWidthTries; ++i) {
        SetWindowPos(box.text, nullptr, 0, 0, width + 10 * i, measured.h, keep);
        box.gotRequest = false;
        SendMessageA(box.text, EM_REQUESTRESIZE, 0, 0);
        if (!box.gotRequest) return; // no answer: keep the measured size
        widest = std::max(widest, box.requestedW);
        if (box.requestedH <= measured.h) return;
    }
    SetWindowPos(box.text, nullptr, 0, 0, std::max(widest, measured.w) + 10, measured.h, keep);
}

HWND CreateTextControl(Box& box, uint32_t flags) {
    DWORD style = WS_CHILD | WS_VISIBLE | ES_READONLY | ES_MULTILINE;
    if (flags & msgbox::kRightAligned) style |= ES_RIGHT;
    DWORD exStyle = (flags & msgbox::kRtlReading) ? WS_EX_RTLREADING : 0;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    HWND text = nullptr;
    if (!g_plainText && RichEditAvailable())
        text = CreateWindowExA(exStyle, "RICHEDIT", "", style, 0, 0, 10, 10, box.hwnd, nullptr,
                               inst, nullptr);
    box.rich = text != nullptr;
    if (!text)
        text = CreateWindowExA(exStyle, "EDIT", "", style, 0, 0, 10, 10, box.hwnd, nullptr, inst,
                               nullptr);
    return text;
}

void FillTextControl(Box& box, const std::string& source, uint32_t flags) {
    MarkupText markup = ParseMarkup(source);
    SendMessageA(box.text, WM_SETFONT, reinterpret_cast<WPARAM>(box.font), FALSE);
    if (box.rich) {
        SendMessageA(box.text, EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
        SendMessageA(box.text, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_WINDOW)));
    }
    SetWindowTextA(box.text, markup.text.c_str());
    if (box.rich) {
        ApplyParagraph(box.text, flags);
        ApplyBold(box.text, markup);
    }
    SendMessageA(box.text, EM_SETSEL, 0, 0);
    SizeTextControl(box, markup);
}

void PlaceBox(Box& box, const std::string& text) {
    RECT tr;
    GetWindowRect(box.text, &tr);
    msgbox::Size textSize{tr.right - tr.left, tr.bottom - tr.top};
    msgbox::FrameMetrics frame{GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME),
                               GetSystemMetrics(SM_CYCAPTION)};
    msgbox::Size size = msgbox::BoxSize(textSize, frame);
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    msgbox::Rect place = msgbox::CentreBox(
        {work.left, work.top, work.right - work.left, work.bottom - work.top}, size);
    if (IsDeveloperMode() && text.find(kDeveloperShiftText) != std::string::npos) {
        place.x += kDeveloperShift;
        place.y += kDeveloperShift;
    }
    SetWindowPos(box.hwnd, nullptr, place.x, place.y, place.w, place.h,
                 SWP_NOZORDER | SWP_SHOWWINDOW);
    RECT client;
    GetClientRect(box.hwnd, &client);
    msgbox::Rect tp = msgbox::TextPlacement({client.right, client.bottom}, textSize);
    SetWindowPos(box.text, nullptr, tp.x, tp.y, tp.w, tp.h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CreateButtons(Box& box, uint32_t flags, const std::string& buttonList) {
    std::vector<msgbox::ButtonSpec> set =
        msgbox::ButtonSet(static_cast<int>(flags & msgbox::kButtonSetMask));
    const int count = static_cast<int>(set.size());
    box.defaultIndex = msgbox::DefaultButtonIndex(flags, count);
    RECT client;
    GetClientRect(box.hwnd, &client);
    for (int i = 0; i < count; ++i) {
        const msgbox::ButtonSpec& spec = set[static_cast<size_t>(i)];
        std::string caption = SUB::Get(buttonList, spec.captionIndex);
        msgbox::Rect r = msgbox::ButtonPlace({client.right, client.bottom}, i, count);
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                      (i == box.defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        HWND b = CreateWindowExA(0, "Button", caption.c_str(), style, r.x, r.y, r.w, r.h, box.hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.result)),
                                 GetModuleHandleA(nullptr), nullptr);
        if (!b) continue;
        SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(box.font), FALSE);
        SetWindowLongPtrA(b, GWLP_USERDATA, spec.result);
        box.buttons.push_back(b);
        box.codes.push_back(spec.result);
        box.captions.push_back(caption);
    }
    if (box.defaultIndex >= static_cast<int>(box.buttons.size()))
        box.defaultIndex = box.buttons.empty() ? -1 : 0;
    if (box.defaultIndex >= 0) SetFocus(box.buttons[static_cast<size_t>(box.defaultIndex)]);
}

int RunBox(MsgOwner owner, const std::string& text, const std::string& caption, int timeoutMs,
           uint32_t flags, int charset, const std::string& buttons) {
    flags = msgbox::EffectiveFlags(flags, owner, charset);
    std::string body = owner == 0 ? HeadingText(caption, text) : text;
    HWND ownerWnd = owner < 3 ? GetActiveWindow() : reinterpret_cast<HWND>(owner);

    Box box;
    box.timeoutMs = timeoutMs;
    box.noClose = (flags & msgbox::kNoClose) != 0;
    box.remembered = GetActiveWindow();
    if (box.remembered) EnableWindow(box.remembered, FALSE);

    win::GdiObject font(CreateFontA(
        msgbox::FontHeight(g_font.sizePoints, ScreenDpi()), 0, 0, 0, FW_DONTCARE, FALSE, FALSE,
        FALSE, static_cast<BYTE>(g_font.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
        DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, g_font.face.c_str()));
    box.font = static_cast<HFONT>(font.get());
    box.icon = IconFor(flags);

    if (!RegisterBoxClass()) {
        if (box.remembered) EnableWindow(box.remembered, TRUE);
        return 0;
    }
    ++g_openBoxes;
    HWND hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_DLGMODALFRAME, kClassName, caption.c_str(),
                                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, -100, -100, 10, 10,
                                ownerWnd, nullptr, GetModuleHandleA(nullptr), &box);
    bool quit = false;
    WPARAM quitCode = 0;
    if (hwnd) {
        if (box.noClose)
            EnableMenuItem(GetSystemMenu(hwnd, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
        box.text = CreateTextControl(box, flags);
        if (box.text) FillTextControl(box, body, flags);
        PlaceBox(box, body);
        CreateButtons(box, flags, buttons);

        while (!box.ended) {
            MSG msg;
            BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0 || got == -1) {
                // The program is ending: close the box and hand the request on.
                quit = got == 0;
                quitCode = msg.wParam;
                box.result = 0;
                if (IsWindow(hwnd)) SendMessageA(hwnd, WM_CLOSE, 0, 0);
                break;
            }
            if (HandleKey(box, msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    } else if (box.remembered) {
        EnableWindow(box.remembered, TRUE);
    }
    if (--g_openBoxes == 0) UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
    if (quit) {
        PostQuitMessage(static_cast<int>(quitCode));
    } else {
        PumpFor(100);
    }
    return box.result;
}

std::string OrDefault(const std::string& value, const std::string& def) {
    return value.empty() ? def : value;
}

std::string DefaultCaption(int kind) {
    return SUB::Get(kDefaultCaptions, kind);
}

} // namespace

int ShowMsgBox(MsgOwner owner, const std::string& text, const std::string& caption, int timeoutMs,
               uint32_t flags, int charset, const std::string& buttons) {
    try {
        return RunBox(owner, text, caption, timeoutMs, flags, charset, buttons);
    } catch (...) {
        return 0;
    }
}

void ErrorMsg(MsgOwner owner, const std::string& text, const std::string& caption, int charset,
              const std::string& buttons) {
    ShowMsgBox(owner, text, OrDefault(caption, DefaultCaption(0)), 0, 0x10, charset,
               OrDefault(buttons, kDefaultButtons));
}

void WarningMsg(MsgOwner owner, const std::string& text, const std::string& caption, int timeoutMs,
                int charset, const std::string& buttons) {
    ShowMsgBox(owner, text, OrDefault(caption, DefaultCaption(1)), timeoutMs, 0x30, charset,
               OrDefault(buttons, kDefaultButtons));
}

bool ConfirmYesNo(MsgOwner owner, const std::string& text, const std::string& caption,
                  int timeoutMs, int charset, const std::string& buttons) {
    return ShowMsgBox(owner, text, OrDefault(caption, DefaultCaption(2)), timeoutMs, 0x24, charset,
                      OrDefault(buttons, kDefaultButtons)) == 6;
}

bool ConfirmOkCancel(MsgOwner owner, const std::string& text, const std::string& caption,
                     int charset, const std::string& buttons) {
    return ShowMsgBox(owner, text, OrDefault(caption, DefaultCaption(2)), 0, 0x21, charset,
                      OrDefault(buttons, kDefaultButtons)) == 1;
}

void SetMsgBoxFont(const std::string& faceName, int sizePoints, int charset) {
    g_font.face = faceName;
    if (sizePoints != 0) g_font.sizePoints = sizePoints;
    g_font.charset = charset;
}

void SetAutoPlayCancel(bool enable) {
    g_autoPlayMsg = enable ? (RegisterWindowMessageA("QueryCancelAutoPlay") & 0xFFFF) : 0;
}

UINT AutoPlayCancelMsg() {
    return g_autoPlayMsg;
}

void SetMsgBoxPlainTextForTesting(bool plain) {
    g_plainText = plain;
}
