// wm_AgentMsg sent by this process to the real agent copy: reads and writes
// of the base descriptor, 32-bit values, the descriptor-only download, and
// code 30 ending the copy, which deletes its own file.
#include "agent_folder.h"

#include <gtest/gtest.h>

namespace {

using namespace agent3;

TEST(AgentControl, CodesReadAndWriteTheDescriptorsFromAnotherProcess) {
    AgentFolder f;
    ASSERT_TRUE(f.InstallAgent());
    Ini(f.base, "OriginalSetup", "VersionOriginal", "7");
    Ini(f.base, "OriginalSetup", "ReAskSecondsInterval", "100");
    // Far in the future and wider than 32 bits: no automatic check.
    Ini(f.base, "OriginalSetup", "ProbeSecondsLast", "12884906888");
    Ini(f.base, "OriginalSetup", "ReAskSecondsLast", "12");
    const std::string localInfo = f.app + "\\app.info";
    Ini(localInfo, "NewSetup", "VersionNew", "9");
    Ini(f.info, "NewSetup", "VersionNew", "11");

    EXPECT_EQ(f.RunAgent(""), 0);
    HWND copy = WaitForCopyWindow(15000);
    ASSERT_NE(copy, nullptr);

    EXPECT_EQ(Control(copy, 4, 0), 7);
    EXPECT_EQ(Control(copy, 5, 0), 9);
    EXPECT_EQ(Control(copy, 7, 0), 0);
    EXPECT_EQ(Control(copy, 8, 0), 3600);
    EXPECT_EQ(Control(copy, 9, 0), 100);
    EXPECT_EQ(Control(copy, 10, 0), static_cast<int32_t>(12884906888LL & 0xFFFFFFFF));
    EXPECT_EQ(Control(copy, 11, 0), 12);
    EXPECT_EQ(Control(copy, 99, 5), 0) << "unknown code";

    // Writes land in the file at once and read back.
    EXPECT_EQ(Control(copy, 12, 7200), 0);
    EXPECT_EQ(IniText(f.base, "OriginalSetup", "ProbeSecondsInterval"), "7200");
    EXPECT_EQ(Control(copy, 8, 0), 7200);
    // Only the low 32 bits travel, sign-extended.
    EXPECT_EQ(Control(copy, 12, static_cast<LPARAM>(0xFFFFFFFFu)), 0);
    EXPECT_EQ(IniText(f.base, "OriginalSetup", "ProbeSecondsInterval"), "-1");
    EXPECT_EQ(Control(copy, 13, 250), 0);
    EXPECT_EQ(IniText(f.base, "OriginalSetup", "ReAskSecondsInterval"), "250");
    EXPECT_EQ(Control(copy, 9, 0), 250);
    EXPECT_EQ(Control(copy, 14, 1000000), 0);
    EXPECT_EQ(IniText(f.base, "OriginalSetup", "ProbeSecondsLast"), "1000000");
    EXPECT_EQ(IniText(f.base, "OriginalSetup", "__ProbeSecondsLast"), "10-JAN-1900 13:46:40");
    EXPECT_EQ(Control(copy, 10, 0), 1000000);
    EXPECT_EQ(Control(copy, 15, 86400), 0);
    EXPECT_EQ(IniText(f.base, "OriginalSetup", "ReAskSecondsLast"), "86400");
    EXPECT_EQ(IniText(f.base, "OriginalSetup", "__ReAskSecondsLast"), "31-DEC-1899 00:00:00");
    EXPECT_EQ(Control(copy, 11, 0), 86400);
    // Overrides answer 0 and leave the files alone.
    for (WPARAM code = 20; code <= 25; ++code)
        EXPECT_EQ(Control(copy, code, 0), 0) << code;
    EXPECT_EQ(IniText(f.base, "OriginalSetup", "VersionOriginal"), "7");

    // Code 32: the next tick fetches only the update descriptor.
    EXPECT_EQ(Control(copy, 32, 0), 0);
    EXPECT_TRUE(WaitFor([&] { return Control(copy, 5, 0) == 11; }, 15000));
    EXPECT_EQ(Control(copy, 4, 0), 7);
    EXPECT_EQ(IniText(f.base, "OriginalSetup", "ProbeSecondsLast"), "1000000") << "no check";

    // Code 30 ends the copy at its next tick; it deletes its own file.
    EXPECT_EQ(Control(copy, 30, 0), 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(copy); }, 5000));
    EXPECT_TRUE(WaitFor([&] { return !Exists(f.copy); }, 10000));
    EXPECT_TRUE(Exists(f.agentExe));
}

} // namespace
