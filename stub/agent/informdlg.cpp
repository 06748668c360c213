#include "stub/agent/informdlg.h"

#include "core/agent/update_rules.h"
#include "core/util/numbers.h"
#include "core/util/regtext.h"
#include "core/util/text.h"
#include "stub/agent/descriptors.h"
#include "stub/agent/stubau.h"
#include "stub/control/mainwin.h"
#include "stub/control/progress.h"
#include "stub/control/trace.h"
#include "stub/ui/kdebug.h"
#include "stub/util/files.h"
#include "stub/util/handles.h"
#include "stub/util/paths.h"
#include "stub/util/utils.h"

#include <richedit.h>

namespace {

constexpr int kButtonId = 1;
constexpr DWORD kRequestResizeMask = 0x40000; // ENM_REQUESTRESIZE

std::function<void(const std::string&)> g_open;

// The one notice window's state.
struct Notice {
    std::string address;
    win::GdiObject textFont;
    win::GdiObject buttonFont;
    HWND window = nullptr;
    HWND text = nullptr;
    HWND button = nullptr;
    bool ended = false;
};
Notice* g_notice = nullptr;

void Debug(const std::string& text) {
    ConsoleLine(std::to_string(GetCurrentProcessId()) + text);
}

std::string FileNamePart(const std::string& path) {
    size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

void OpenAddress(const std::string& address) {
    if (g_open) return g_open(address);
    ShellOpen(address, "", SW_SHOW);
}

HFONT MakeFont(int height, int charset, const std::string& face) {
    return CreateFontA(height, 0, 0, 0, 0, 0, 0, 0, static_cast<DWORD>(charset), 0, 0, 0, 32,
                       face.c_str());
}

void Layout(const Notice& n, int width, int height) {
    const agent::NoticeLayout l = agent::NoticeLayoutFor(width, height, !n.address.empty());
    if (n.text)
        SetWindowPos(n.text, nullptr, l.text.left, l.text.top, l.text.width, l.text.height,
                     SWP_NOZORDER | SWP_SHOWWINDOW);
    if (n.button)
        SetWindowPos(n.button, nullptr, l.button.left, l.button.top, l.button.width,
                     l.button.height, SWP_NOZORDER | SWP_SHOWWINDOW);
}

void Paint(HWND window, const Notice& n) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    if (!n.address.empty()) {
        const agent::NoticeLayout l = agent::NoticeLayoutFor(client.right, client.bottom, true);
        win::GdiObject pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW)));
        HGDIOBJ old = SelectObject(dc, pen.get());
        MoveToEx(dc, 0, l.lineY, nullptr);
        LineTo(dc, client.right, l.lineY);
        SelectObject(dc, old);
        RECT face = {0, l.lineY + 1, client.right, client.bottom};
        FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    }
    EndPaint(window, &ps);
}

LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Notice* n = g_notice;
    if (n == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        n->ended = true;
        break;
    case WM_SIZE:
        Layout(*n, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        Paint(window, *n);
        return 0;
    case WM_COMMAND:
        if (n->button != nullptr && reinterpret_cast<HWND>(lParam) == n->button) {
            OpenAddress(n->address);
            PostMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK NoticeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleMessage(window, message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's dispatcher.
        return 0;
    }
}

void RunNoticeWindow(HWND owner, const std::string& caption, const std::string& buttonCaption,
                     const std::string& text, const std::string& address, int width, int height,
                     const std::string& fontName, int fontSize, int charset) {
    Notice n;
    n.address = address;
    win::Module richEdit(LoadLibraryA("RICHED32.DLL"));
    n.buttonFont.reset(MakeFont(-ScaleByDpi(fontSize), charset, fontName));
    n.textFont.reset(
        MakeFont(agent::kNoticeTextFontHeight, charset, agent::NoticeTextFace(fontName)));

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = NoticeProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kInformWindowClass;
    RegisterClassA(&wc);

    g_notice = &n;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    n.window = CreateWindowExA(WS_EX_DLGMODALFRAME, kInformWindowClass, caption.c_str(),
                               WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, left, top,
                               width, height, owner, nullptr, instance, nullptr);
    if (n.window != nullptr) {
        RECT client;
        GetClientRect(n.window, &client);
        const agent::NoticeLayout l =
            agent::NoticeLayoutFor(client.right, client.bottom, !address.empty());
        n.text = CreateWindowExA(0, "RICHEDIT", "",
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_READONLY | ES_MULTILINE,
                                 l.text.left, l.text.top, l.text.width, l.text.height, n.window,
                                 nullptr, instance, nullptr);
        if (n.text != nullptr) {
            SendMessageA(n.text, EM_SETEVENTMASK, 0, kRequestResizeMask);
            SendMessageA(n.text, WM_SETFONT, reinterpret_cast<WPARAM>(n.textFont.get()), TRUE);
            SendMessageA(n.text, EM_SETBKGNDCOLOR, 0, GetSysColor(COLOR_WINDOW));
            SendMessageA(n.text, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        if (!address.empty()) {
            n.button = CreateWindowExA(
                0, "Button", buttonCaption.c_str(), WS_CHILD | WS_VISIBLE, l.button.left,
                l.button.top, l.button.width, l.button.height, n.window,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)), instance, nullptr);
            if (n.button != nullptr) {
                SendMessageA(n.button, WM_SETFONT, reinterpret_cast<WPARAM>(n.buttonFont.get()),
                             TRUE);
                SetWindowLongPtrA(n.button, GWLP_USERDATA, 1);
                SetFocus(n.button);
                SetActiveWindow(n.button);
                SendMessageA(n.button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
            }
        }
        MSG msg;
        while (!n.ended) {
            const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0) {
                // The quit belongs to the outer loop.
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (got == -1) break;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        // The Rich Edit library is released below: no control may outlive it.
        if (IsWindow(n.window)) DestroyWindow(n.window);
    }
    g_notice = nullptr;
    UnregisterClassA(kInformWindowClass, instance);
}

} // namespace

namespace informdlg {
void SetAddressOpener(std::function<void(const std::string& address)> open) {
    g_open = std::move(open);
}
} // namespace informdlg

bool ShowInformDialog(HWND owner, const std::string& caption, const std::string& button,
                      const std::string& text, const std::string& addressIn, int width, int height,
                      const std::string& fontName, int fontSize, int charset) {
    const std::string address = Trim(addressIn);
    if (text.empty()) {
        if (address.empty()) return false;
        OpenAddress(address);
        return true;
    }
    // One notice at a time: a tick cannot start a second one meanwhile.
    if (g_notice != nullptr) return false;
    RunNoticeWindow(owner, caption, button, text, address, width, height, fontName, fontSize,
                    charset);
    return true;
}

bool PerformAutoInform() {
    TraceLine("PerformAutoInform() - START ");
    bool shown = false;
    Debug(" ==== PerformAutoInform-1 ====");
    const std::string source = agent::info::DownloadURL_UPDATE();
    const std::string informName = agent::info::NameOfInformFile();
    if (!source.empty() && !informName.empty()) {
        Debug(" ==== PerformAutoInform-2 ====");
        stubau::State().AgentState = 2;
        RelayMessage(relay::kFileDownload, relay::kBefore);
        std::string error;
        const bool fetched = stubau::DownloadFileAU(source, informName, 3, error);
        RelayMessage(relay::kFileDownload, relay::kAfter);
        if (fetched) {
            Debug(" ==== PerformAutoInform-3 ====");
            const std::string content =
                Unscramble(ReadFilePart(ExeDir(true) + FileNamePart(informName), 0, 0));
            const std::string text = agent::NoticeText(content);
            const std::string caption = agent::AgentText("s34", "New Version");
            const std::string button = agent::AgentText("s35", "Download");
            const int width = agent::info::AutoInformW();
            const int height = agent::info::AutoInformH();
            shown = ShowInformDialog(mainwin::MainWindow(), caption, button, text,
                                     agent::info::DownloadURL_INFORM(), width, height,
                                     agent::original::FontName(), agent::original::FontSize(),
                                     agent::original::CharSet());
            if (shown) agent::original::WriteVersionOriginal(agent::info::VersionNew());
            Debug(" ==== PerformAutoInform-4 ====");
        }
    }
    TraceLine("PerformAutoInform() - END " + BoolText(shown));
    return shown;
}
