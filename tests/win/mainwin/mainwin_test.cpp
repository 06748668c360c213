#include "stub/control/mainwin.h"

#include "stub/util/utils.h"
#include "tests/support/wine_test_support.h"
#include "tests/win/lang/language_package.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

namespace {

// What the hooks saw; one run at a time.
struct Seen {
    int ticks = 0;
    DWORD firstTick = 0, secondTick = 0;
    int removeFolder = 0;
    int releaseWinInet = 0;
    int timerCount = 12345;
    UINT controlMessage = 0;
    WPARAM controlW = 0;
    LPARAM controlL = 0;
    std::function<void(HWND)> onTick;
};
Seen g_seen;

void TickHook(HWND w) {
    ++g_seen.ticks;
    (g_seen.ticks == 1 ? g_seen.firstTick : g_seen.secondTick) = GetTickCount();
    if (g_seen.onTick) g_seen.onTick(w);
}
LRESULT ControlHook(HWND, UINT m, WPARAM w, LPARAM l) {
    g_seen.controlMessage = m;
    g_seen.controlW = w;
    g_seen.controlL = l;
    return 77;
}
void RemoveFolderHook() {
    ++g_seen.removeFolder;
}
void ReleaseHook() {
    ++g_seen.releaseWinInet;
}
void TimerCountHook(int c) {
    g_seen.timerCount = c;
}
UINT AutoPlayHook() {
    return RegisterWindowMessageA("QueryCancelAutoPlay");
}

bool g_abort = false;

mainwin::Hooks TestHooks() {
    mainwin::Hooks h;
    h.onTimer = TickHook;
    h.onControlMessage = ControlHook;
    h.removeSetupFolder = RemoveFolderHook;
    h.releaseWinInet = ReleaseHook;
    h.setAgentTimerCount = TimerCountHook;
    h.downloadAbort = &g_abort;
    h.autoPlayCancelMsg = AutoPlayHook;
    return h;
}

void Reset() {
    g_seen = Seen();
    g_abort = false;
    mainwin::SetHooks(TestHooks());
}

RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ExpectRect(HWND child, int left, const mainwin::ControlRect& want, const char* what) {
    ASSERT_NE(child, nullptr) << what;
    const RECT r = ChildRect(child);
    EXPECT_EQ(r.left, left) << what;
    EXPECT_EQ(r.top, want.top) << what;
    EXPECT_EQ(r.right - r.left, want.width) << what;
    EXPECT_EQ(r.bottom - r.top, want.height) << what;
}

std::string ClassOf(HWND w) {
    char name[256] = {};
    GetClassNameA(w, name, sizeof name);
    return name;
}

// The checks of a fresh window, made from its first timer tick.
void CheckFreshWindow(HWND w, const std::string& cls, const std::string& title, bool rtl) {
    EXPECT_EQ(w, mainwin::MainWindow());
    EXPECT_EQ(FindWindowA(cls.c_str(), nullptr), w);
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_EQ(WindowTextOf(w), title);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, mainwin::kWidth);
    EXPECT_EQ(r.bottom - r.top, mainwin::kHeight);
    const LONG_PTR style = GetWindowLongPtrA(w, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

    ExpectRect(mainwin::StatusControl(), rtl ? 122 : 70, mainwin::kStatusRect, "status");
    ExpectRect(mainwin::MainBar(), 70, mainwin::kMainBarRect, "main bar");
    ExpectRect(mainwin::ActivityBar(), rtl ? 70 : 416, mainwin::kActivityRect, "activity bar");
    EXPECT_EQ(ClassOf(mainwin::StatusControl()), "Static");
    EXPECT_EQ(ClassOf(mainwin::MainBar()), "msctls_progress32");
    EXPECT_EQ(ClassOf(mainwin::ActivityBar()), "msctls_progress32");
    EXPECT_TRUE(GetWindowLongPtrA(mainwin::MainBar(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongPtrA(mainwin::ActivityBar(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(WindowTextOf(mainwin::StatusControl()), "");

    LOGFONTA lf = {};
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(mainwin::StatusControl(), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    GetObjectA(font, sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_STREQ(lf.lfFaceName, "Tahoma");
}

const char kClass[] = "Z:\\some folder\\setup.exe";

TEST(MainWindow, HiddenWindowOfItsClassWithLayoutTimerAndTwoCloses) {
    Reset();
    bool stayedAfterFirstClose = false, abortAfterFirstClose = false;
    g_seen.onTick = [&](HWND w) {
        if (g_seen.ticks == 1) {
            CheckFreshWindow(w, kClass, "Tarnix Installation Suite", false);
            return;
        }
        // Long work of a flow: a close request arrives while it dispatches.
        mainwin::StopMainTimer();
        PostMessageA(w, WM_CLOSE, 0, 0);
        WaitPumping(1, 50);
        stayedAfterFirstClose = IsWindow(w) != FALSE;
        abortAfterFirstClose = g_abort;
        PostMessageA(w, WM_CLOSE, 0, 0);
        WaitPumping(1, 50);
    };
    const DWORD start = GetTickCount();
    ASSERT_TRUE(mainwin::RunMainWindow(kClass, package::TGFileInfo()));
    const DWORD took = GetTickCount() - start;

    EXPECT_EQ(g_seen.ticks, 2);
    EXPECT_GE(g_seen.secondTick - g_seen.firstTick, 900u);
    EXPECT_LT(took, 10000u);
    EXPECT_TRUE(stayedAfterFirstClose);
    EXPECT_TRUE(abortAfterFirstClose);
    EXPECT_EQ(g_seen.removeFolder, 1);
    EXPECT_EQ(g_seen.releaseWinInet, 1);
    EXPECT_EQ(g_seen.timerCount, 12345); // no "/SleepX=" on this command line
    EXPECT_EQ(mainwin::MainWindow(), nullptr);
    EXPECT_EQ(FindWindowA(kClass, nullptr), nullptr);
}

TEST(MainWindow, FlowThatPostsQuitEndsTheLoopAndLeavesNoQuitBehind) {
    for (int run = 0; run < 2; ++run) { // the class can be registered again
        SCOPED_TRACE(run);
        Reset();
        g_seen.onTick = [](HWND) {
            mainwin::StopMainTimer();
            PostQuitMessage(0);
        };
        ASSERT_TRUE(mainwin::RunMainWindow(kClass, package::TGFileInfo()));
        EXPECT_EQ(g_seen.ticks, 1);
        EXPECT_EQ(g_seen.removeFolder, 1);
        EXPECT_TRUE(g_abort);
        EXPECT_EQ(FindWindowA(kClass, nullptr), nullptr);
        MSG m;
        EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
}

TEST(MainWindow, ControlMessagesAutoPlayAndStatusText) {
    Reset();
    g_seen.onTick = [](HWND w) {
        mainwin::StopMainTimer();
        struct {
            UINT message;
        } controls[] = {{WM_USER + 99}, {WM_USER + 100}, {WM_USER + 101}};
        for (const auto& c : controls) {
            EXPECT_EQ(SendMessageA(w, c.message, 5, 6), 77) << c.message;
            EXPECT_EQ(g_seen.controlMessage, c.message);
            EXPECT_EQ(g_seen.controlW, 5u);
            EXPECT_EQ(g_seen.controlL, 6);
        }
        EXPECT_EQ(SendMessageA(w, RegisterWindowMessageA("QueryCancelAutoPlay"), 0, 0), 1);

        HWND status = mainwin::StatusControl();
        struct {
            const char* text;
            const char* font;
            int charset, points;
            bool rtl;
        } cases[] = {
            {"Extracting Files...", "Arial", 0, 10, false},
            {"\xE7\xE5\xF5", "Tahoma", 177, 8, true},
            {"\xC7\xE1", "Tahoma", 178, 9, true},
            {"Back", "Tahoma", 204, 8, false},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.charset);
            mainwin::SetStatusText(c.text, c.font, c.charset, c.points);
            EXPECT_EQ(WindowTextOf(status), c.text);
            const LONG_PTR style = GetWindowLongPtrA(status, GWL_STYLE);
            const LONG_PTR ex = GetWindowLongPtrA(status, GWL_EXSTYLE);
            EXPECT_EQ((style & SS_TYPEMASK) == SS_RIGHT, c.rtl);
            EXPECT_EQ((ex & WS_EX_RTLREADING) != 0, c.rtl);
            EXPECT_TRUE(style & WS_VISIBLE);
            LOGFONTA lf = {};
            GetObjectA(reinterpret_cast<HFONT>(SendMessageA(status, WM_GETFONT, 0, 0)), sizeof lf,
                       &lf);
            EXPECT_EQ(lf.lfHeight, -ScaleByDpi(c.points));
            EXPECT_EQ(lf.lfCharSet, c.charset);
            EXPECT_STREQ(lf.lfFaceName, c.font);
        }
        mainwin::ShowActivityBar(true);
        EXPECT_TRUE(IsWindowVisible(mainwin::ActivityBar()) ||
                    (GetWindowLongPtrA(mainwin::ActivityBar(), GWL_STYLE) & WS_VISIBLE));
        EXPECT_FALSE(IsWindowVisible(w)); // nothing here shows the window
        mainwin::ShowMainWindow(true);
        EXPECT_TRUE(IsWindowVisible(w));
        PostQuitMessage(0);
    };
    ASSERT_TRUE(mainwin::RunMainWindow(kClass, package::TGFileInfo()));
    EXPECT_EQ(g_seen.ticks, 1);
}

// Run as a child: a Hebrew package lays the window out right to left, and
// "/SleepX=" reaches the agent's timer count.
TEST(MainWindowChild, RightToLeftPackage) {
    const std::string pkgPath = langtest::Env("MAINWIN_CHILD_PACKAGE");
    if (pkgPath.empty()) GTEST_SKIP() << "runs as a child of RightToLeftLayout";
    Reset();
    const std::string title = langtest::Env("MAINWIN_CHILD_TITLE");
    const bool rtl = langtest::Env("MAINWIN_CHILD_RTL") == "1";
    g_seen.onTick = [&](HWND w) {
        mainwin::StopMainTimer();
        CheckFreshWindow(w, kClass, title, rtl);
        PostQuitMessage(0);
    };
    const package::TGFileInfo pkg = langtest::ReadPackage(pkgPath);
    ASSERT_TRUE(mainwin::RunMainWindow(kClass, pkg));
    EXPECT_EQ(g_seen.ticks, 1);
    EXPECT_EQ(g_seen.timerCount, -4);
    if (!::testing::Test::HasFailure())
        testsupport::WriteWholeFile(langtest::Env("MAINWIN_CHILD_DONE"), "passed");
}

TEST(MainWindow, RightToLeftLayout) {
    testsupport::TempDir dir;
    struct {
        const char* name;
        const char* charset;
        bool rtl;
    } cases[] = {{"Hebrew", "177", true}, {"Arabic", "178", true}, {"Russian", "204", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string pkg = dir.file(std::string(c.name) + ".exe");
        const std::string done = dir.file(std::string(c.name) + ".done");
        const std::string title = std::string("Title ") + c.name;
        ASSERT_TRUE(langtest::WritePackage(
            pkg, langtest::LanguageBlock(
                     {{c.name, {"s0=" + title, std::string("Charset=") + c.charset}}})));
        const long rc = langtest::RunChildTest("MainWindowChild.* /SleepX=4",
                                               {{"MAINWIN_CHILD_PACKAGE", pkg},
                                                {"MAINWIN_CHILD_TITLE", title},
                                                {"MAINWIN_CHILD_RTL", c.rtl ? "1" : "0"},
                                                {"MAINWIN_CHILD_DONE", done}});
        EXPECT_EQ(rc, 0);
        EXPECT_EQ(testsupport::ReadWholeFile(done), "passed");
    }
}

} // namespace
