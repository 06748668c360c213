#include "tests/win/agent/agent_files.h"

#include "stub/agent/agentproc.h"
#include "stub/agent/descriptors.h"
#include "stub/agent/stubau.h"
#include "stub/control/progress.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using agenttest::DescriptorFiles;

constexpr char kItem[] = "wt_agent2.setup.info";

class Control : public ::testing::Test {
  protected:
    void SetUp() override {
        stubau::ResetState();
        agent::ApplyOverrideList("|255|255|255|255|255|255|255|255|");
        files = std::make_unique<DescriptorFiles>(kItem);
        DescriptorFiles::Base("OriginalSetup", "VersionOriginal", "4");
        DescriptorFiles::Update("NewSetup", "VersionNew", "7");
        DescriptorFiles::Base("OriginalSetup", "ProbeSecondsInterval", "3600");
        DescriptorFiles::Base("OriginalSetup", "ReAskSecondsInterval", "86400");
    }
    void TearDown() override {
        SetRelayPeer(nullptr, 0);
        agent::ApplyOverrideList("|255|255|255|255|255|255|255|255|");
        stubau::ResetState();
        files.reset();
    }
    std::unique_ptr<DescriptorFiles> files;
};

TEST_F(Control, ReadsGiveTheDescriptorsAndState) {
    stubau::State().AgentState = 3;
    const std::pair<int, int32_t> cases[] = {{4, 4},  {5, 7},  {7, 3}, {8, 3600}, {9, 86400},
                                             {10, 0}, {11, 0}, {6, 0}, {99, 0}};
    for (auto [code, expected] : cases)
        EXPECT_EQ(agentproc::ControlDispatch(code, 0), expected) << code;
}

TEST_F(Control, WritesGoToTheBaseDescriptorWithCompanions) {
    EXPECT_EQ(agentproc::ControlDispatch(12, 120), 0);
    EXPECT_EQ(agentproc::ControlDispatch(13, 240), 0);
    // A negative 32-bit value is stored sign-extended.
    EXPECT_EQ(agentproc::ControlDispatch(14, 0xFFFFFFFFLL), 0);
    EXPECT_EQ(agentproc::ControlDispatch(15, 3900000000LL & 0xFFFFFFFF), 0);
    EXPECT_EQ(agent::original::ProbeSecondsInterval(), 120);
    EXPECT_EQ(agent::original::ReAskSecondsInterval(), 240);
    EXPECT_EQ(agent::original::ProbeSecondsLast(), -1);
    EXPECT_EQ(agent::original::ReAskSecondsLast(), static_cast<int32_t>(3900000000LL));
    EXPECT_EQ(agentproc::ControlDispatch(8, 0), 120);
    EXPECT_EQ(agentproc::ControlDispatch(10, 0), -1);
}

TEST_F(Control, OverridesKeepTheLowByte) {
    const char* expected[] = {"|1|255|255|255|255|255|255|255|", "|1|1|255|255|255|255|255|255|",
                              "|1|1|1|255|255|255|255|255|",     "|1|1|1|1|255|255|255|255|",
                              "|1|1|1|1|1|255|255|255|",         "|1|1|1|1|1|1|255|255|"};
    for (int code = 20; code <= 25; ++code) {
        EXPECT_EQ(agentproc::ControlDispatch(code, 0x101), 0);
        EXPECT_EQ(agent::MakeOverrideList(), expected[code - 20]) << code;
    }
    agentproc::ControlDispatch(23, 0);
    EXPECT_FALSE(agent::info::BackgroundUpdate());
    DescriptorFiles::Update("NewSetup", "BackgroundUpdate", "1");
    EXPECT_FALSE(agent::info::BackgroundUpdate());
    EXPECT_TRUE(agent::ConfirmBeforeCheck());
}

TEST_F(Control, CountdownForcedCheckAndDescriptorOnly) {
    stubau::AgentStateData& s = stubau::State();
    EXPECT_EQ(agentproc::ControlDispatch(30, 5), 0);
    EXPECT_EQ(s.StopCountdown, 5);
    s.TimerCount = -20;
    agentproc::ControlDispatch(31, 1);
    EXPECT_TRUE(s.ForceCheck);
    EXPECT_EQ(s.TimerCount, 1);
    EXPECT_EQ(s.CheckMode, 0);
    s.TimerCount = 9;
    agentproc::ControlDispatch(31, 2);
    EXPECT_EQ(s.TimerCount, 9);
    EXPECT_EQ(s.CheckMode, 2);
    agentproc::ControlDispatch(32, 0);
    EXPECT_TRUE(s.JustDownloadInfo);
}

// A message-only peer window that collects what the agent posts to it.
TEST_F(Control, RegistrationIsAnsweredWith50And51) {
    HWND peer =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(peer, nullptr);
    HWND agentWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x4242));
    constexpr UINT kPeerMsg = WM_APP + 7;

    RelayMessage(relay::kFileDownload, relay::kBefore); // before registration: nothing
    EXPECT_EQ(agentproc::OnControlMessage(agentWindow, agentproc::kLocalMsg,
                                          reinterpret_cast<WPARAM>(peer), kPeerMsg),
              0);
    RelayMessage(relay::kUpdateRun, relay::kAfter);

    std::vector<std::pair<WPARAM, LPARAM>> got;
    MSG msg;
    while (PeekMessageA(&msg, peer, kPeerMsg, kPeerMsg, PM_REMOVE))
        got.emplace_back(msg.wParam, msg.lParam);
    const std::vector<std::pair<WPARAM, LPARAM>> expected = {
        {50, reinterpret_cast<LPARAM>(agentWindow)}, {51, 1125}, {42, 2}};
    EXPECT_EQ(got, expected);

    // The other two messages reach the state and the dispatcher.
    EXPECT_EQ(agentproc::OnControlMessage(agentWindow, agentproc::kShutDownMsg, 3, 0), 0);
    EXPECT_EQ(stubau::State().StopCountdown, 3);
    EXPECT_EQ(agentproc::OnControlMessage(agentWindow, agentproc::kAgentMsg, 5, 0), 7);
    DestroyWindow(peer);
}

} // namespace
