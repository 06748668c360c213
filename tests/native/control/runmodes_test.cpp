#include "core/control/runmodes.h"
#include "core/control/setupline.h"

#include <gtest/gtest.h>

namespace {

using namespace runmodes;

TEST(RunModes, WindowClassIsThePathForASetupAndTheBaseNameForAnAgent) {
    EXPECT_EQ(WindowClassNameFor(false, "C:\\dl\\Setup.v2.exe"), "C:\\dl\\Setup.v2.exe");
    EXPECT_EQ(WindowClassNameFor(true, "C:\\Prog\\X_Agent.v2.exe"), ".AutoUpdate.X_Agent.v2");
    EXPECT_EQ(XAgentClassName(" Agent.exe "), ".AutoUpdate.X_Agent");
}

TEST(RunModes, AgentNamesCompareTrimmedAndIgnoringCase) {
    struct {
        bool isAgent;
        const char* exe;
        const char* item2;
        bool plain, copy;
    } cases[] = {
        {true, "C:\\p\\agent.EXE", " Agent.exe ", true, false},
        {true, "C:\\p\\x_agent.exe", "Agent.exe", false, true},
        {true, "C:\\p\\Other.exe", "Agent.exe", false, false},
        {false, "C:\\p\\Agent.exe", "Agent.exe", false, false},
        {false, "C:\\p\\X_Agent.exe", "Agent.exe", false, false},
        {true, "Agent.exe", "Agent.exe", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exe);
        EXPECT_EQ(IsPlainAgentFile(c.isAgent, c.exe, c.item2), c.plain);
        EXPECT_EQ(IsXAgentFile(c.isAgent, c.exe, c.item2), c.copy);
    }
}

TEST(RunModes, SpanLevelDecidesBetweenRelaunchAndSetup) {
    struct {
        bool firstDisk;
        const char* tail;
        bool firstRun, relaunch;
    } cases[] = {
        {true, "", true, false},
        {true, "/SpanCdLvl=1", true, false},
        {true, "/s /SpanCdLvl=2 /SpanDiskFName1=\"D:\\Setup.exe.001\"", false, true},
        {true, "/spancdlvl=3", false, false},
        {true, "/SpanCdLvl=x", true, false},
        {false, "", false, false},
        {false, "/SpanCdLvl=2", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tail);
        EXPECT_EQ(IsFirstSpanRunOf(c.firstDisk, c.tail), c.firstRun);
        EXPECT_EQ(IsSpanRelaunchOf(c.tail), c.relaunch);
    }
}

TEST(SetupLine, RemoveOptionCutsToTheNextSlash) {
    struct {
        const char* line;
        const char* option;
        const char* out;
    } cases[] = {
        {"a /SpanCdLvl=2 /x", "/SpanCdLvl=", "a /x"},
        {"a /SpanCdLvl=2", "/SpanCdLvl=", "a "},
        {"a /b", "/SpanCdLvl=", "a /b"},
        {"/SpanCdLvl=1 /SpanCdLvl=2", "/SpanCdLvl=", "/SpanCdLvl=2"},
        {"a /spancdlvl=2", "/SpanCdLvl=", "a /spancdlvl=2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(setupline::RemoveOption(c.line, c.option), c.out) << c.line;
}

TEST(SetupLine, EngineCommandLineKeepsItsOrder) {
    setupline::EngineCall call;
    call.targetFolder = "C:\\T\\SETUP_1\\";
    call.runEntry = " Engine.exe * /e1 ";
    call.arguments = "/own";
    call.threadToken = "_77";
    call.exePath = "C:\\dl dir\\Setup.exe";
    EXPECT_EQ(
        setupline::EngineCommandLine(call),
        "C:\\T\\SETUP_1\\Engine.exe /own /e1 /TH_ID=_77 /OriginExe=\"C:\\dl dir\\Setup.exe\"");

    call.targetFolder = "C:\\T\\SETUP_1";
    call.runEntry = "Engine.exe";
    call.arguments = "";
    call.isAgent = true;
    EXPECT_EQ(setupline::EngineCommandLine(call),
              "C:\\T\\SETUP_1\\Engine.exe /TH_ID=_77 /OriginExe=\"C:\\dl dir\\Setup.exe\" "
              "/AutoUpdateProg");
}

TEST(SetupLine, RelaunchedCopyPassesItsOriginOnAndNoSpanOption) {
    setupline::EngineCall call;
    call.targetFolder = "C:\\T\\SETUP_9";
    call.runEntry = "Engine.exe*";
    call.arguments =
        "/q /SpanCdLvl=2 /SpanDiskFName1=\"D:\\Setup.exe.001\" /OriginExe=\"D:\\Setup.exe\"";
    call.threadToken = "_5";
    call.exePath = "C:\\T\\SETUP_9\\Y_Setup.exe";
    const std::string line = setupline::EngineCommandLine(call);
    EXPECT_EQ(line, "C:\\T\\SETUP_9\\Engine.exe /q /OriginExe=\"D:\\Setup.exe\" /TH_ID=_5");
}

TEST(SetupLine, SpanRelaunchArgumentsNameThePartAndTheOrigin) {
    EXPECT_EQ(setupline::SpanRelaunchArguments(" /q ", "D:\\S p\\Setup.exe"),
              "/q  /SpanCdLvl=2 /SpanDiskFName1=\"D:\\S p\\Setup.exe.001\" "
              "/OriginExe=\"D:\\S p\\Setup.exe\"");
    EXPECT_EQ(setupline::SpanRelaunchArguments("", "D:\\Setup.exe"),
              "/SpanCdLvl=2 /SpanDiskFName1=\"D:\\Setup.exe.001\" /OriginExe=\"D:\\Setup.exe\"");
}

TEST(SetupLine, MegabyteTextDecimalsFollowTheSize) {
    struct {
        double bytes;
        const char* text;
    } cases[] = {
        {15.0 * 1048576, "15.0"},
        {10.0 * 1048576, "10.00"},
        {1.5 * 1048576, "1.50"},
        {1048576, "1.00"},
        {0.25 * 1048576, "0.250"},
        {0, "0.000"},
        {-5, "0.000"},
        {1234.56 * 1048576, "1234.6"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(setupline::MegabyteText(c.bytes, '.'), c.text) << c.bytes;
    EXPECT_EQ(setupline::MegabyteText(1.5 * 1048576, ','), "1,50");
}

TEST(SetupLine, SpaceQuestionOnlyWhenAskedOrShort) {
    const setupline::SpaceTexts t{"I(<DRIVE>)", "S(<DRIVE>)", " r=<SPACE_REQ>", " a=<SPACE_AVAIL>",
                                  " ?<DRIVE>"};
    const double mb = 1048576;
    EXPECT_EQ(setupline::SpaceQuestion(t, false, "c:\\t", mb, 20 * mb, '.'), "");
    EXPECT_EQ(setupline::SpaceQuestion(t, true, "c:\\t", mb, 20 * mb, '.'),
              "I(C:) r=1.00 a=20.0 ?C:");
    EXPECT_EQ(setupline::SpaceQuestion(t, false, "d:\\t", 2 * mb, 2 * mb, '.'),
              "S(D:) r=2.00 a=2.00 ?D:");
    EXPECT_EQ(setupline::SpaceQuestion(t, true, "", 3 * mb, 1 * mb, '.'), "S() r=3.00 a=1.00 ?");
}

} // namespace
