// Setups that cannot work end with a message or quietly, never with a crash
// or a hang, and never report success when the engine did not run.
#include "tests/win/setup/setup_driver.h"

#include "tests/support/wine_test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using namespace setuptest;

// Its file has no package and so no entry to run: the run ends quietly.
TEST(SetupSound, AStubWithoutAPackageEndsQuietly) {
    testsupport::TempDir dir;
    const std::string exe = dir.file("bare.exe");
    ASSERT_TRUE(CopyFileA((testsupport::DistDir() + "\\stub.exe").c_str(), exe.c_str(), FALSE));
    GiveOwnTime(exe);
    StubRun r = RunStub(
        "\"" + exe + "\"", {}, [](const Box& b) { b.Press("OK"); }, 30000);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_FALSE(Exists(SetupFolderOf(exe)));
}

TEST(SetupSound, AnEngineThatCannotStartGivesAFailingExitCode) {
    testsupport::TempDir dir;
    MakePayload(dir.file("pay"));
    const std::string exe = dir.file("Setup.exe");
    // A text file is no program: the start fails.
    ASSERT_TRUE(Pack(dir.file("pay"), exe, "--run readme.txt"));
    GiveOwnTime(exe);
    StubRun r = RunStub("\"" + exe + "\"", {}, nullptr);
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.exitCode, -1) << "the stub hung";
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_FALSE(Exists(SetupFolderOf(exe)));
}

TEST(SetupSound, AnUnwritableTempFolderEndsWithAMessage) {
    testsupport::TempDir dir;
    MakePayload(dir.file("pay"));
    const std::string exe = dir.file("Setup.exe");
    const std::string record = dir.file("record.txt");
    ASSERT_TRUE(Pack(dir.file("pay"), exe, ""));
    GiveOwnTime(exe);
    // A folder below a file cannot be made.
    const std::string blocker = dir.file("blocker");
    ASSERT_TRUE(testsupport::WriteWholeFile(blocker, "x"));
    const std::string temp = blocker + "\\temp";
    StubRun r = RunStub("\"" + exe + "\"",
                        {{"TMP", temp}, {"TEMP", temp}, {"STANDIN_ENGINE_RECORD", record}},
                        [](const Box& b) { b.Press("OK"); });
    EXPECT_NE(r.exitCode, -1) << "the stub hung";
    EXPECT_NE(r.exitCode, 0);
    ASSERT_FALSE(r.boxes.empty());
    EXPECT_NE(r.boxes[0].text.find("Unable to create Directory!"), std::string::npos)
        << r.boxes[0].text;
    EXPECT_TRUE(ReadRecord(record).empty());
}

} // namespace
