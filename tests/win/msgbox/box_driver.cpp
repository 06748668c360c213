#include "box_driver.h"

#include <richedit.h>

#include <algorithm>

namespace {

std::string ClassOf(HWND h) {
    char buf[64] = {};
    GetClassNameA(h, buf, sizeof buf);
    return buf;
}

std::string TextOf(HWND h) {
    int n = GetWindowTextLengthA(h);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(h, &s[0], n + 1);
    s.resize(static_cast<size_t>(std::max(n, 0)));
    return s;
}

RECT InClient(HWND parent, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM lp) {
    auto* v = reinterpret_cast<BoxView*>(lp);
    std::string cls = ClassOf(child);
    if (_stricmp(cls.c_str(), "Button") == 0) {
        v->buttons.push_back(child);
    } else {
        v->text = child;
        v->textClass = cls;
    }
    return TRUE;
}

BOOL CALLBACK MatchBox(HWND hwnd, LPARAM lp) {
    if (ClassOf(hwnd) != "KMsgBox") return TRUE;
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
}

// Only the test's own boxes: other test programs show theirs on the same
// desktop at the same time.
HWND FindBoxOfThread(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(thread, MatchBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

BoxView Inspect(HWND box, DWORD guiThread) {
    BoxView v;
    v.box = box;
    v.title = TextOf(box);
    EnumChildWindows(box, CollectChild, reinterpret_cast<LPARAM>(&v));
    std::sort(v.buttons.begin(), v.buttons.end(),
              [box](HWND a, HWND b) { return InClient(box, a).left < InClient(box, b).left; });
    GUITHREADINFO gti = {};
    gti.cbSize = sizeof gti;
    if (GetGUIThreadInfo(guiThread, &gti)) v.focus = gti.hwndFocus;
    for (size_t i = 0; i < v.buttons.size(); ++i) {
        v.captions.push_back(TextOf(v.buttons[i]));
        v.buttonRects.push_back(InClient(box, v.buttons[i]));
        if (v.buttons[i] == v.focus) v.focusIndex = static_cast<int>(i);
    }
    if (v.text) {
        v.content = TextOf(v.text);
        v.textRect = InClient(box, v.text);
    }
    GetWindowRect(box, &v.boxRect);
    GetClientRect(box, &v.client);
    return v;
}

} // namespace

std::string BoldCharacters(HWND text) {
    CHARRANGE all = {0, -1};
    SendMessageA(text, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    CHARRANGE got = {};
    SendMessageA(text, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&got));
    std::string bold;
    for (LONG i = got.cpMin; i < got.cpMax; ++i) {
        CHARRANGE one = {i, i + 1};
        SendMessageA(text, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&one));
        char buf[8] = {};
        SendMessageA(text, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buf));
        CHARFORMATA cf = {};
        cf.cbSize = sizeof cf;
        SendMessageA(text, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        if ((cf.dwMask & CFM_BOLD) && (cf.dwEffects & CFE_BOLD)) bold += buf;
    }
    CHARRANGE none = {0, 0};
    SendMessageA(text, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&none));
    return bold;
}

BoxDriver::BoxDriver(std::function<void(const BoxView&)> act)
    : guiThread_(GetCurrentThreadId()), thread_([this, act] {
          HWND box = nullptr;
          for (int i = 0; i < 1000 && !box; ++i) {
              box = FindBoxOfThread(guiThread_);
              if (!box) Sleep(10);
          }
          if (!box) return;
          // Answered only once the box's thread waits in its message loop,
          // that is after the box has been built.
          DWORD_PTR ignored = 0;
          SendMessageTimeoutA(box, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
          found_ = true;
          act(Inspect(box, guiThread_));
          for (int i = 0; i < 500 && IsWindow(box); ++i)
              Sleep(10);
          closedByItself_ = !IsWindow(box);
          if (!closedByItself_) PostMessageA(box, WM_CLOSE, 0, 0);
      }) {}

BoxDriver::~BoxDriver() {
    if (thread_.joinable()) thread_.join();
}

bool BoxDriver::finish() {
    if (thread_.joinable()) thread_.join();
    return found_ && closedByItself_;
}

void PostKey(const BoxView& v, UINT vk) {
    PostMessageA(v.focus ? v.focus : v.box, WM_KEYDOWN, vk, 1);
}

void PostAltChar(const BoxView& v, char ch) {
    PostMessageA(v.focus ? v.focus : v.box, WM_SYSCHAR, static_cast<WPARAM>(ch), 1 | (1 << 29));
}

void Click(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}
