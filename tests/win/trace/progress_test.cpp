#include "stub/control/progress.h"
#include "stub/net/progbar.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

// A hidden window with the main bar and the activity bar.
class Bars : public ::testing::Test {
  protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&icc);
        parent_ = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr, nullptr,
                                nullptr);
        main_ = CreateWindowA(PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 10, parent_,
                              nullptr, nullptr, nullptr);
        activity_ = CreateWindowA(PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 20, 50, 10,
                                  parent_, nullptr, nullptr, nullptr);
        ASSERT_TRUE(main_ && activity_);
        SetProgressBars(main_, activity_);
    }
    void TearDown() override {
        SetProgressBars(nullptr, nullptr);
        DestroyWindow(parent_);
    }
    static int Pos(HWND bar) { return int(SendMessageA(bar, PBM_GETPOS, 0, 0)); }
    static int High(HWND bar) { return int(SendMessageA(bar, PBM_GETRANGE, FALSE, 0)); }
    static int Low(HWND bar) { return int(SendMessageA(bar, PBM_GETRANGE, TRUE, 0)); }
    HWND parent_ = nullptr, main_ = nullptr, activity_ = nullptr;
};

TEST_F(Bars, StartSetsRangePositionAndStep) {
    ProgressRelay(kProgressStart, 0, 21, 3, 2, "");
    EXPECT_EQ(Low(main_), 0);
    EXPECT_EQ(High(main_), 21);
    EXPECT_EQ(Pos(main_), 3);
    EXPECT_EQ(High(activity_), kActivityMax);
    EXPECT_EQ(Pos(activity_), 0);
    ProgressRelay(kProgressStep, 0, 0, 0, 0, "");
    EXPECT_EQ(Pos(main_), 5); // the step size set by the start
}

TEST_F(Bars, SixStepsCycleTheActivityBar) {
    ProgressRelay(kProgressStart, 0, 100, 0, 1, "");
    // Whatever the counter holds from earlier calls, it cycles 1..5, 0.
    while (ActivityCounter() != 0)
        ProgressRelay(kProgressStep, 0, 0, 0, 0, "");
    std::vector<int> seen;
    for (int i = 0; i < 12; ++i) {
        ProgressRelay(kProgressStep, 0, 0, 0, 0, "");
        seen.push_back(Pos(activity_));
        EXPECT_EQ(ActivityCounter(), seen.back());
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0}));
}

TEST_F(Bars, OtherKindsDoNothing) {
    ProgressRelay(kProgressStart, 0, 50, 10, 5, "");
    int counter = ActivityCounter();
    for (int kind : {2, -1, 99})
        ProgressRelay(kind, 7, 9, 40, 3, "x");
    EXPECT_EQ(Pos(main_), 10);
    EXPECT_EQ(High(main_), 50);
    EXPECT_EQ(ActivityCounter(), counter);
}

TEST(ProgressRelayTest, CallsBeforeTheWindowExistHaveNoEffect) {
    SetProgressBars(nullptr, nullptr);
    ProgressRelay(kProgressStart, 0, 10, 0, 1, "");
    int before = ActivityCounter();
    ProgressRelay(kProgressStep, 0, 0, 0, 0, "");
    // The messages go nowhere; only the counter moves on.
    EXPECT_EQ(ActivityCounter(), before == kActivityMax ? 0 : before + 1);
}

TEST(ProgressRelayTest, ProgBarIsOneObjectDrivingTheRelay) {
    TProgBar& bar = ProgBar();
    EXPECT_EQ(&bar, &ProgBar());
    EXPECT_EQ(bar.ProgressHandler, &ProgressRelay);
}

struct Call {
    int32_t kind, reserved, maximum, position, step;
    std::string text;
    bool operator==(const Call& o) const {
        return kind == o.kind && reserved == o.reserved && maximum == o.maximum &&
               position == o.position && step == o.step && text == o.text;
    }
};
std::vector<Call> g_calls;
int g_delivered = 0;
std::vector<int> g_deliveredAtCall;

void Record(int32_t kind, int32_t reserved, int32_t maximum, int32_t position, int32_t step,
            const std::string& text) {
    g_calls.push_back({kind, reserved, maximum, position, step, text});
    g_deliveredAtCall.push_back(g_delivered);
}

LRESULT CALLBACK CountProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER + 3) ++g_delivered;
    return DefWindowProcA(h, m, w, l);
}

class ProgBarEvents : public ::testing::Test {
  protected:
    void SetUp() override {
        g_calls.clear();
        g_deliveredAtCall.clear();
        g_delivered = 0;
        WNDCLASSA wc{};
        wc.lpfnWndProc = CountProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ProgBarProbe";
        RegisterClassA(&wc);
        window_ = CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                wc.hInstance, nullptr);
        ASSERT_TRUE(window_);
    }
    void TearDown() override { DestroyWindow(window_); }
    void Post() { PostMessageA(window_, WM_USER + 3, 0, 0); }
    HWND window_ = nullptr;
};

TEST_F(ProgBarEvents, EventsReachTheHandlerAsTheirKinds) {
    {
        TProgBar bar(Record);
        bar.Init(3, 10);
        bar.Step("copying");
        bar.Caption("ignored");
        bar.Finish(0, 0);
        EXPECT_EQ(g_calls.size(), 3u);
    }
    std::vector<Call> expected = {{0, 0, 10, 3, 1, ""},
                                  {1, 0, 0, 0, 0, "copying"},
                                  {0, 0, 0, 0, 1, ""},
                                  {0, 0, 0, 0, 1, ""}}; // the destructor finishes too
    EXPECT_EQ(g_calls, expected);
}

TEST_F(ProgBarEvents, PendingMessagesAreDispatchedAroundEachEvent) {
    TProgBar bar(Record);
    Post();
    bar.Step("a"); // dispatched before the handler runs
    EXPECT_EQ(g_deliveredAtCall.back(), 1);
    Post();
    bar.Init(0, 5);
    EXPECT_EQ(g_deliveredAtCall.back(), 2);
    Post();
    bar.Caption("c"); // only dispatches
    EXPECT_EQ(g_delivered, 3);
    EXPECT_EQ(g_calls.size(), 2u);
    bar.ProgressHandler = nullptr;
}

TEST_F(ProgBarEvents, FinishWaitsBeforeAndAfter) {
    TProgBar bar(Record);
    DWORD t0 = GetTickCount();
    bar.Finish(200, 150);
    DWORD spent = GetTickCount() - t0;
    EXPECT_GE(spent, 330u);
    EXPECT_LT(spent, 2000u);
    ASSERT_EQ(g_calls.size(), 1u);
    bar.ProgressHandler = nullptr;
}

TEST(RelayMessageTest, PostsToTheRegisteredPeerOnly) {
    HWND peer =
        CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(peer);
    const UINT msg = WM_USER + 55;
    MSG m;
    auto take = [&] { return PeekMessageA(&m, peer, msg, msg, PM_REMOVE) != 0; };

    SetRelayPeer(peer, msg);
    RelayMessage(relay::kDescriptorDownload, relay::kBefore);
    ASSERT_TRUE(take());
    EXPECT_EQ(m.wParam, 40u);
    EXPECT_EQ(m.lParam, 1);
    RelayMessage(relay::kQueryMessage, 1125);
    ASSERT_TRUE(take());
    EXPECT_EQ(m.wParam, 51u);
    EXPECT_EQ(m.lParam, 1125);

    SetRelayPeer(peer, 0);
    RelayMessage(relay::kLoopEnded, 0);
    EXPECT_FALSE(take());
    SetRelayPeer(nullptr, msg);
    RelayMessage(relay::kLoopEnded, 0);
    EXPECT_FALSE(take());

    // A peer that has gone away: the post fails silently.
    SetRelayPeer(peer, msg);
    DestroyWindow(peer);
    RelayMessage(relay::kUpdateRun, relay::kAfter);
    SetRelayPeer(nullptr, 0);
}

} // namespace
