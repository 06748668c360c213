// Scoring the top-level windows of a process to find its main window.
#include "core/process/analizer.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

struct FakeWindow {
    TAnalizer::Window handle;
    TAnalizer::Window owner; // 0: none
    bool titled;
    bool visible;
};

struct Scene {
    std::vector<FakeWindow> windows;
    const FakeWindow* find(TAnalizer::Window w) const {
        for (const FakeWindow& f : windows)
            if (f.handle == w) return &f;
        return nullptr;
    }
    TAnalizer::WindowFacts facts() const {
        TAnalizer::WindowFacts f;
        f.topOwner = [this](TAnalizer::Window w) {
            for (const FakeWindow* p = find(w); p != nullptr && p->owner != 0; p = find(p->owner))
                w = p->owner;
            return w;
        };
        f.hasTitle = [this](TAnalizer::Window w) { return find(w)->titled; };
        f.visible = [this](TAnalizer::Window w) { return find(w)->visible; };
        return f;
    }
    TAnalizer::Window best() const {
        TAnalizer a(42);
        for (const FakeWindow& w : windows)
            a.Add(w.handle);
        a.Score(facts());
        return a.Best();
    }
};

TEST(TAnalizer, ChoosesTheMainWindow) {
    struct Case {
        const char* what;
        Scene scene;
        TAnalizer::Window expected;
    } cases[] = {
        {"no windows", {{}}, 0},
        {"visible titled window beats a hidden titled one",
         {{{1, 0, true, false}, {2, 0, true, true}}},
         2},
        {"equal scores: first enumerated", {{{5, 0, true, true}, {6, 0, true, true}}}, 5},
        {"untitled hidden owner of two dialogs beats them",
         {{{10, 20, true, true}, {11, 20, true, true}, {20, 0, false, false}}},
         20},
        {"owner chain is followed to its top",
         {{{30, 31, true, true}, {31, 32, false, false}, {32, 0, false, false}}},
         32},
        {"only owned, untitled, hidden windows: none",
         {{{40, 99, false, false}, {41, 99, false, false}}},
         0},
        {"an owned visible titled window alone still counts", {{{50, 99, true, true}}}, 50},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.scene.best(), c.expected) << c.what;
}

TEST(TAnalizer, ScoresAsTheRulesSay) {
    Scene s{{{1, 3, true, true}, {2, 3, false, true}, {3, 0, false, false}, {4, 0, true, false}}};
    TAnalizer a(7);
    for (const FakeWindow& w : s.windows)
        ASSERT_TRUE(a.Add(w.handle));
    a.Score(s.facts());
    EXPECT_EQ(a.processId(), 7u);
    ASSERT_EQ(a.count(), 4);
    // Window 3 is the top owner of 1, 2 and itself: 3 * 4.
    const uint16_t expected[] = {3, 1, 12, 6};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(a.score(i), expected[i]) << i;
    EXPECT_EQ(a.Best(), 3u);
}

TEST(TAnalizer, IgnoresWindowsBeyondTheTable) {
    TAnalizer a(1);
    for (int i = 1; i <= TAnalizer::kMaxWindows; ++i)
        ASSERT_TRUE(a.Add(i));
    EXPECT_FALSE(a.Add(5000));
    EXPECT_EQ(a.count(), TAnalizer::kMaxWindows);
    // Every window owned by window 1: its score is the largest possible.
    TAnalizer::WindowFacts f;
    f.topOwner = [](TAnalizer::Window) { return TAnalizer::Window(1); };
    f.hasTitle = [](TAnalizer::Window) { return true; };
    f.visible = [](TAnalizer::Window) { return true; };
    a.Score(f);
    EXPECT_EQ(a.score(0), TAnalizer::kMaxWindows * 4 + 3);
    EXPECT_EQ(a.score(1), 3);
    EXPECT_EQ(a.Best(), 1u);
}

} // namespace
