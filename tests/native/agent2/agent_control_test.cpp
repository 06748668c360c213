#include "core/agent/agent_control.h"

#include "core/agent/descriptor_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using namespace agent;

TEST(AgentControl, CopyArgumentsPassBothOptions) {
    struct Case {
        const char* transient;
        const char* delay;
        const char* expected;
    };
    const Case cases[] = {
        {"", "", ""},
        {"|1|255|", "", " /TRANSIENTx=|1|255|"},
        {"", "30", " /SleepX=30"},
        {"|1|255|", "30", " /TRANSIENTx=|1|255| /SleepX=30"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CopyArguments(c.transient, c.delay), c.expected) << c.transient << c.delay;
}

TEST(AgentControl, PeerTargetParsesWindowAndNumber) {
    struct Case {
        const char* value;
        int64_t window;
        int64_t number;
    };
    const Case cases[] = {
        {"1234:1025", 1234, 1025},
        {"abc:1025", 0, 1025},
        {"1234:x", 1234, 0},
        {"1234", 1234, 0},
        {"", 0, 0},
        {":7", 0, 7},
        {"5:6:7", 5, 6},
    };
    for (const Case& c : cases) {
        PeerTarget t = PeerTargetOf(c.value);
        EXPECT_EQ(t.window, c.window) << c.value;
        EXPECT_EQ(t.number, c.number) << c.value;
        EXPECT_EQ(t.list, std::string(":") + c.value + ":");
    }
}

TEST(AgentControl, CodeTable) {
    using A = ControlAction;
    using I = ControlItem;
    struct Case {
        int64_t code;
        A action;
        I item;
        int overrideIndex;
    };
    const Case cases[] = {
        {4, A::Read, I::VersionOriginal, -1},
        {5, A::Read, I::VersionNew, -1},
        {6, A::None, I::None, -1},
        {7, A::Read, I::AgentState, -1},
        {8, A::Read, I::ProbeSecondsInterval, -1},
        {9, A::Read, I::ReAskSecondsInterval, -1},
        {10, A::Read, I::ProbeSecondsLast, -1},
        {11, A::Read, I::ReAskSecondsLast, -1},
        {12, A::Write, I::ProbeSecondsInterval, -1},
        {13, A::Write, I::ReAskSecondsInterval, -1},
        {14, A::Write, I::ProbeSecondsLast, -1},
        {15, A::Write, I::ReAskSecondsLast, -1},
        {16, A::None, I::None, -1},
        {20, A::Override, I::None, kConfirmBeforeCheck},
        {21, A::Override, I::None, kRequestConfirmationBeforeDownload},
        {22, A::Override, I::None, kRequestConfirmationBeforeInstall},
        {23, A::Override, I::None, kBackgroundUpdate},
        {24, A::Override, I::None, kInformFinish},
        {25, A::Override, I::None, kRestartProcess},
        {26, A::None, I::None, -1},
        {30, A::StopCountdown, I::None, -1},
        {31, A::ForceCheck, I::None, -1},
        {32, A::JustDownloadInfo, I::None, -1},
        {0, A::None, I::None, -1},
        {-31, A::None, I::None, -1},
        {(int64_t(1) << 32) + 4, A::None, I::None, -1},
    };
    for (const Case& c : cases) {
        ControlCode got = ControlCodeOf(c.code);
        EXPECT_EQ(got.action, c.action) << c.code;
        EXPECT_EQ(got.item, c.item) << c.code;
        EXPECT_EQ(got.overrideIndex, c.overrideIndex) << c.code;
    }
}

TEST(AgentControl, ValuesTravelAs32Bits) {
    EXPECT_EQ(ControlResultOf(5), 5);
    EXPECT_EQ(ControlResultOf((int64_t(7) << 32) | 9), 9);
    EXPECT_EQ(ControlResultOf(0xFFFFFFFFLL), -1);
    EXPECT_EQ(ControlValueOf(0xFFFFFFFFLL), -1);
    EXPECT_EQ(ControlValueOf(0x80000000LL), INT32_MIN);
    EXPECT_EQ(ControlValueOf((int64_t(3) << 32) | 12), 12);
}

TEST(AgentControl, ForcedCheckComesAtTheNextTickAtLatest) {
    EXPECT_EQ(ForcedTimerCount(-30), 1);
    EXPECT_EQ(ForcedTimerCount(0), 1);
    EXPECT_EQ(ForcedTimerCount(1), 1);
    EXPECT_EQ(ForcedTimerCount(17), 17);
}

} // namespace
