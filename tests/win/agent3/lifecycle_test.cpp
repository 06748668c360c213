// The plain agent's processes with the real stub.exe: one copy for two
// starts, "/STOP=0", and failures that leave the product and version alone.
#include "agent_folder.h"

#include <gtest/gtest.h>

namespace {

using namespace agent3;

TEST(AgentLifecycle, TwoStartsMakeOneCopyAndStopZeroEndsItAtTheNextTick) {
    AgentFolder f;
    ASSERT_TRUE(f.InstallAgent());
    EXPECT_EQ(f.RunAgent(""), 0);
    HWND copy = WaitForCopyWindow(15000);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(f.RunAgent(""), 0);
    Sleep(2000);
    EXPECT_EQ(CopyWindows().size(), 1u);
    EXPECT_EQ(Count(f.Trace(), "Create X_ File "), 1u) << f.Trace();
    EXPECT_TRUE(IsWindow(copy));

    // The second start's options still reach the running copy.
    const DWORD sent = GetTickCount();
    EXPECT_EQ(f.RunAgent(" /STOP=0"), 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(copy); }, 5000));
    EXPECT_LT(GetTickCount() - sent, 4000u) << "not at the next tick";
    EXPECT_TRUE(WaitFor([&] { return !Exists(f.copy); }, 10000));
    EXPECT_TRUE(Exists(f.agentExe));
    EXPECT_NE(f.Trace().find("PostProcessMessage(wm_ShutDown) to: " + f.copy), std::string::npos);
}

// Starts the check with the product running; answers one error box when
// expectBox, and waits until the update attempt ends.
void CheckAndFail(AgentFolder& f, bool expectBox) {
    ASSERT_TRUE(f.StartProduct());
    EXPECT_EQ(f.RunAgent(""), 0);
    HWND copy = WaitForCopyWindow(15000);
    ASSERT_NE(copy, nullptr);
    DWORD process = 0;
    GetWindowThreadProcessId(copy, &process);
    EXPECT_EQ(f.RunAgent(" /TEST=1"), 0);
    // The box may still be building when first seen: click until it goes.
    bool sawBox = false;
    EXPECT_TRUE(WaitFor(
        [&] {
            sawBox = AnswerBoxesOf(process) || sawBox;
            return f.Trace().find("PerformAutoUpdate() - END    Result=FALSE") != std::string::npos;
        },
        40000))
        << f.Trace();
    EXPECT_EQ(sawBox, expectBox);
    Sleep(1500);
    EXPECT_TRUE(f.ProductRunning());
    EXPECT_EQ(IniText(f.base, "OriginalSetup", "VersionOriginal"), "1");
    EXPECT_EQ(Count(testsupport::ReadWholeFile(f.productRecord), "start"), 1u);
    EXPECT_FALSE(Exists(f.app + "\\Update.exe"));
    EXPECT_FALSE(Exists(f.engineRecord)) << "setup ran";
    EXPECT_TRUE(IsWindow(copy)) << "the copy keeps running";
}

TEST(AgentFailure, FailedDownloadLeavesProductRunningAndVersionUnchanged) {
    AgentFolder f;
    ASSERT_TRUE(f.InstallAgent());
    ASSERT_TRUE(f.OfferUpdate(kToken));
    // Listed with the right size, but nobody may read it: the check passes
    // and the download fails.
    HANDLE lock = CreateFileA((f.src + "\\Update.exe").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    CheckAndFail(f, false);
    CloseHandle(lock);
    EXPECT_NE(f.Trace().find("GetOkToPerformAU = 6"), std::string::npos) << f.Trace();
}

TEST(AgentFailure, WrongTokenLeavesProductRunningAndVersionUnchanged) {
    AgentFolder f;
    ASSERT_TRUE(f.InstallAgent());
    ASSERT_TRUE(f.OfferUpdate("Someone-Else"));
    CheckAndFail(f, true);
    EXPECT_NE(f.Trace().find("Bad Secret Token!"), std::string::npos) << f.Trace();
}

} // namespace
