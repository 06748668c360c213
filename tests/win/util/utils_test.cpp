// The message-pumping wait, timing, error texts, entry points by name, the
// shell, window helpers and the command-line reader of a real process.
#include "stub/util/paths.h"
#include "stub/util/utils.h"
#include "tests/support/wine_test_support.h"
#include "tests/win/util/probes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <vector>

namespace {

int g_handled = 0;

LRESULT CALLBACK CountingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_USER + 1) {
        ++g_handled;
        return 0;
    }
    if (msg == WM_TIMER) {
        ++g_handled;
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

class TestWindow {
  public:
    TestWindow(HWND owner = nullptr, const char* text = "") {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = CountingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "UtilsTestWindow";
        RegisterClassA(&wc); // a second registration fails harmlessly
        hwnd_ = CreateWindowExA(0, "UtilsTestWindow", text, WS_OVERLAPPED, 0, 0, 50, 50, owner,
                                nullptr, wc.hInstance, nullptr);
    }
    ~TestWindow() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    HWND get() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
};

TEST(UtilsWait, WaitPumpingDispatchesWhileItWaits) {
    TestWindow w;
    ASSERT_NE(w.get(), nullptr);
    g_handled = 0;
    for (int i = 0; i < 3; ++i)
        PostMessageA(w.get(), WM_USER + 1, 0, 0);
    SetTimer(w.get(), 1, 20, nullptr);
    const int64_t start = TickMs();
    WaitPumping(0, 300);
    const int64_t took = TickMs() - start;
    KillTimer(w.get(), 1);
    EXPECT_GE(took, 300);
    EXPECT_LT(took, 2000);
    // Three posted messages and several timer ticks were handled during the wait.
    EXPECT_GE(g_handled, 3 + 5);
}

TEST(UtilsWait, WaitReturnsWhenNoMessagesComeAndKeepsAQuit) {
    const int64_t start = TickMs();
    WaitPumping(5, 60);
    EXPECT_GE(TickMs() - start, 60);
    const std::string cmd = probes::ProbeCommand(probes::SelfPath(), "waitquit", "");
    EXPECT_EQ(testsupport::RunAndWait(cmd, 20000), 5);
}

TEST(UtilsWait, TickMsFollowsTheClock) {
    const int64_t a = TickMs();
    Sleep(50);
    const int64_t b = TickMs();
    EXPECT_GE(b - a, 45);
    EXPECT_LT(b - a, 1000);
}

TEST(UtilsErrors, ErrorTextsAreNeverEmpty) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    const std::string text = LastErrorText();
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text, ErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_NE(text.back(), '\n');
    EXPECT_NE(text.back(), '.');
    EXPECT_EQ(ErrorText(0x2FFFFFFF), "Error 805306367");
}

TEST(UtilsLoadProc, PresentAndAbsentEntryPoints) {
    using TickFn = DWORD(WINAPI*)();
    auto tick = LoadProc<TickFn>("kernel32.dll", "GetTickCount");
    ASSERT_NE(tick, nullptr);
    EXPECT_GT(tick(), 0u);
    EXPECT_EQ(LoadProc<TickFn>("kernel32.dll", "NoSuchEntryPoint"), nullptr);
    EXPECT_EQ(LoadProc<TickFn>("no_such_library_x.dll", "GetTickCount"), nullptr);
    EXPECT_EQ(LoadProc<TickFn>(nullptr, "GetTickCount"), nullptr);

    win::Module module;
    using LenFn = int(WINAPI*)(LPCSTR);
    auto len = LoadProc<LenFn>("kernel32.dll", "lstrlenA", module);
    ASSERT_NE(len, nullptr);
    EXPECT_TRUE(module);
    EXPECT_EQ(len("abcd"), 4);
    EXPECT_EQ(LoadProc<LenFn>("kernel32.dll", "NoSuchEntryPoint", module), nullptr);
    EXPECT_FALSE(module);
}

TEST(UtilsShell, ShellOpenRunsTheFileAndFailsForAMissingOne) {
    testsupport::TempDir dir;
    const std::string mark = dir.file("shell.txt");
    EXPECT_TRUE(ShellOpen("cmd.exe", "/c echo ok> \"" + mark + "\"", SW_HIDE));
    for (int i = 0; i < 200 && GetFileAttributesA(mark.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        WaitPumping(0, 50);
    EXPECT_NE(GetFileAttributesA(mark.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(ShellOpen(dir.file("missing.exe"), "", SW_HIDE));
}

TEST(UtilsWindows, TextClassAndOwnerChain) {
    EXPECT_EQ(WindowTextOf(nullptr), "");
    EXPECT_EQ(WindowClassOf(nullptr), "");
    EXPECT_EQ(TopOwner(nullptr), nullptr);
    TestWindow top(nullptr, "Top window");
    TestWindow middle(top.get(), "");
    TestWindow bottom(middle.get(), "Bottom");
    ASSERT_NE(bottom.get(), nullptr);
    EXPECT_EQ(WindowTextOf(top.get()), "Top window");
    EXPECT_EQ(WindowTextOf(middle.get()), "");
    EXPECT_EQ(WindowClassOf(bottom.get()), "UtilsTestWindow");
    EXPECT_EQ(TopOwner(bottom.get()), top.get());
    EXPECT_EQ(TopOwner(top.get()), top.get());
}

TEST(UtilsScreen, DpiScaleAndCentring) {
    const int dpi = ScreenDpiY();
    EXPECT_GT(dpi, 0);
    EXPECT_EQ(ScaleByDpi(72), dpi);
    EXPECT_EQ(ScaleByDpi(9), MulDiv(9, dpi, 72));
    RECT work;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    POINT p = CenterInWorkArea(101, 51);
    EXPECT_EQ(p.x, work.left + (work.right - work.left - 101) / 2);
    EXPECT_EQ(p.y, work.top + (work.bottom - work.top - 51) / 2);
    // Wider than the work area: the left edge goes left of it.
    EXPECT_LT(CenterInWorkArea(work.right - work.left + 200, 10).x, work.left);
}

TEST(UtilsLocale, DecimalSeparatorIsOneVisibleByte) {
    const char sep = LocaleDecimalSeparator();
    EXPECT_GT(static_cast<unsigned char>(sep), 0x20);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(UtilsCommandLine, OptionsOfARealProcess) {
    testsupport::TempDir dir;
    const std::string out = dir.file("cmdline.txt");
    const std::string args =
        "/sleepx=30 /Out=" + out + " /Empty= /Name=two words /SleepX=99 -dash=5 word1";
    ASSERT_EQ(testsupport::RunAndWait(probes::ProbeCommand(probes::SelfPath(), "cmdline", args)),
              0);
    const std::vector<std::string> lines = Lines(testsupport::ReadWholeFile(out));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "--util-probe=cmdline " + args);
    EXPECT_EQ(lines[1], "30"); // names compare case-insensitively, the first one wins
    EXPECT_EQ(lines[2], "30");
    EXPECT_EQ(lines[3], ""); // present with no value: empty, not the default
    EXPECT_EQ(lines[4], "default");
    EXPECT_EQ(lines[5], "two words");
    EXPECT_EQ(lines[6], "7");       // not a number
    EXPECT_EQ(lines[7], "5 word1"); // a value runs up to the next option
    EXPECT_EQ(lines[8], "10");
}

TEST(UtilsCommandLine, TailOfThisProcessHasNoProgramName) {
    const std::string tail = CommandTail();
    EXPECT_EQ(tail.find(ExePath(true) + ".exe"), std::string::npos);
    EXPECT_EQ(GetCmdValue("/NoSuchOption", "d"), "d");
    EXPECT_EQ(GetCmdValue("", "d"), "d");
    EXPECT_EQ(GetCmdValue("//", "d"), "d");
    EXPECT_EQ(GetCmdInt("/NoSuchOption", -3), -3);
    EXPECT_FALSE(HasCmdWord(""));
}

} // namespace
