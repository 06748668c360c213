// The debug channel driven in-process against viewer windows the tests make.
#include "stub/ui/kdebug.h"
#include "stub/util/handles.h"
#include "tests/win/debug/private_desktop.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_chunks;

// Records chunks sent from this thread only: other programs of the test run
// may write to whatever ".KDebug." window exists at the time.
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const UINT debugMessage = RegisterWindowMessageA(kDebugMessageName);
    if (message == debugMessage) {
        if (wParam == 1 && !InSendMessage()) {
            char name[256] = {};
            UINT n = GlobalGetAtomNameA(static_cast<ATOM>(lParam), name, sizeof name);
            g_chunks.emplace_back(name, n);
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterViewerClass() {
    static const bool registered = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kDebugViewerClass;
        return RegisterClassA(&wc) != 0;
    }();
    return registered;
}

HWND CreateViewerWindow() {
    if (!RegisterViewerClass()) return nullptr;
    return CreateWindowExA(0, kDebugViewerClass, "test viewer", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

// A viewer window of this thread for the length of one test.
class TestViewer {
  public:
    TestViewer() : window_(CreateViewerWindow()) {
        ConsoleFlush(); // whatever earlier tests left goes elsewhere
        g_chunks.clear();
    }
    ~TestViewer() {
        if (window_) DestroyWindow(window_);
        g_chunks.clear();
    }
    TestViewer(const TestViewer&) = delete;
    TestViewer& operator=(const TestViewer&) = delete;
    explicit operator bool() const { return window_ != nullptr; }

  private:
    HWND window_;
};

} // namespace

TEST(DebugChannel, LongLineArrivesAsChunksOfAtMost128Bytes) {
    TestViewer viewer;
    ASSERT_TRUE(viewer);
    std::string line;
    for (int i = 0; i < 300; ++i)
        line += static_cast<char>('A' + i % 26);
    ConsoleLine(line);

    ASSERT_EQ(g_chunks.size(), 3u);
    EXPECT_EQ(g_chunks[0].size(), kDebugBufferSize);
    EXPECT_EQ(g_chunks[1].size(), kDebugBufferSize);
    EXPECT_EQ(g_chunks[2].size(), 302 - 2 * kDebugBufferSize);
    EXPECT_EQ(g_chunks[2].substr(g_chunks[2].size() - 2), "\r\n");
    EXPECT_EQ(g_chunks[0] + g_chunks[1] + g_chunks[2], line + "\r\n");
}

TEST(DebugChannel, DeliversOnLineEndFullBufferAndFlush) {
    struct Case {
        const char* what;
        std::function<void()> write;
        std::vector<std::string> beforeFlush;
        std::vector<std::string> afterFlush;
    };
    const std::string fits(kDebugBufferSize - 2, 'f');
    const Case cases[] = {
        {"partial text waits for a flush", [] { ConsoleWrite("abc"); }, {}, {"abc"}},
        {"line feed becomes CR LF and ends a chunk",
         [] { ConsoleWrite("one\ntwo"); },
         {"one\r\n"},
         {"two"}},
        {"CR LF is kept as it is", [] { ConsoleWrite("three\r\n"); }, {"three\r\n"}, {}},
        {"std::cout reaches the channel",
         [] { std::cout << "cout " << 7 << std::endl; },
         {"cout 7\r\n"},
         {}},
        {"std::cout line feed without flush",
         [] { std::cout << "four\nfi"; },
         {"four\r\n"},
         {"fi"}},
        {"printf-style", [] { ConsolePrintf("%d-%s\n", 42, "x"); }, {"42-x\r\n"}, {}},
        {"line of exactly one buffer", [&] { ConsoleLine(fits); }, {fits + "\r\n"}, {}},
        {"line one byte longer than the buffer",
         [&] { ConsoleLine(fits + "g"); },
         {fits + "g\r", "\n"},
         {}},
        {"empty line", [] { ConsoleLine(""); }, {"\r\n"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestViewer viewer;
        ASSERT_TRUE(viewer);
        c.write();
        EXPECT_EQ(g_chunks, c.beforeFlush);
        g_chunks.clear();
        ConsoleFlush();
        EXPECT_EQ(g_chunks, c.afterFlush);
    }
}

TEST(DebugChannel, WritingWithoutViewerDropsTextAndGoesOn) {
    ASSERT_EQ(FindWindowA(kDebugViewerClass, nullptr), nullptr);
    DWORD start = GetTickCount();
    for (int i = 0; i < 500; ++i)
        ConsoleLine("nobody listens " + std::to_string(i));
    ConsoleWrite("unfinished");
    ConsoleFlush();
    EXPECT_LT(GetTickCount() - start, 2000u);

    // Nothing of the dropped text is left over for the next viewer.
    TestViewer viewer;
    ASSERT_TRUE(viewer);
    ConsoleLine("after");
    EXPECT_EQ(g_chunks, std::vector<std::string>{"after\r\n"});
}

namespace {

// A viewer window on a thread of its own that never reads its messages.
class UnresponsiveViewer {
  public:
    UnresponsiveViewer()
        : created_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          release_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        if (created_ && release_) thread_.reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
        if (thread_) WaitForSingleObject(created_.get(), 10000);
    }
    ~UnresponsiveViewer() {
        if (release_) SetEvent(release_.get());
        if (thread_) WaitForSingleObject(thread_.get(), 10000);
    }
    UnresponsiveViewer(const UnresponsiveViewer&) = delete;
    UnresponsiveViewer& operator=(const UnresponsiveViewer&) = delete;
    HWND window() const { return window_; }

  private:
    static DWORD WINAPI Run(void* param) {
        auto* self = static_cast<UnresponsiveViewer*>(param);
        if (UsePrivateDesktop()) self->window_ = CreateViewerWindow();
        SetEvent(self->created_.get());
        WaitForSingleObject(self->release_.get(), 30000);
        if (self->window_) DestroyWindow(self->window_);
        return 0;
    }

    win::Handle created_;
    win::Handle release_;
    win::Handle thread_;
    HWND window_ = nullptr;
};

} // namespace

TEST(DebugChannel, ViewerThatDoesNotAnswerHoldsEachChunkAboutASecond) {
    ASSERT_TRUE(RegisterViewerClass());
    UnresponsiveViewer stuck;
    ASSERT_NE(stuck.window(), nullptr);
    ASSERT_EQ(FindWindowA(kDebugViewerClass, nullptr), stuck.window());

    std::vector<DWORD> took;
    for (int i = 0; i < 3; ++i) {
        DWORD start = GetTickCount();
        ConsoleLine("stuck " + std::to_string(i));
        took.push_back(GetTickCount() - start);
    }

    // The first send really waited for the viewer, and none waited much longer.
    EXPECT_GE(took[0], kDebugSendTimeoutMs * 8 / 10);
    for (DWORD ms : took)
        EXPECT_LE(ms, kDebugSendTimeoutMs * 16 / 10);
}
