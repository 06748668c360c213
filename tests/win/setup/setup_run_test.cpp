// The setup path of the real stub.exe: extraction, the engine's command line,
// its exit code, the space question, damaged packages and the waits.
#include "tests/win/setup/setup_driver.h"

#include "tests/support/wine_test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using namespace setuptest;

struct Package {
    testsupport::TempDir dir;
    std::string exe;
    std::string record;
    Package(const std::string& packArgs, const std::string& name = "Setup.exe") {
        MakePayload(dir.file("pay"));
        exe = dir.file(name);
        record = dir.file("record.txt");
        ok = Pack(dir.file("pay"), exe, packArgs);
        GiveOwnTime(exe);
    }
    Env EngineEnv(const Env& more = {}) const {
        Env env = {{"STANDIN_ENGINE_RECORD", record}};
        env.insert(env.end(), more.begin(), more.end());
        return env;
    }
    bool ok = false;
};

std::string Boxes(const StubRun& r) {
    std::string out;
    for (const auto& b : r.boxes) {
        out += "[" + b.title + ": " + b.text + " |";
        for (const auto& k : b.buttons)
            out += " " + k.first;
        out += "]";
    }
    return out;
}

TEST(SetupRun, PassesTheExitCodeOnBuildsTheCommandLineAndLeavesNothingBehind) {
    Package s("--run-args /e1");
    ASSERT_TRUE(s.ok);
    const std::string folder = SetupFolderOf(s.exe);
    StubRun r = RunStub("\"" + s.exe + "\" /own",
                        s.EngineEnv({{"STANDIN_ENGINE_EXIT_CODE", "3010"}}), nullptr);
    EXPECT_EQ(r.exitCode, 3010);
    EXPECT_TRUE(r.boxes.empty()) << Boxes(r);
    Record rec = ReadRecord(s.record);
    ASSERT_FALSE(rec.empty());
    const std::string token = rec["ThreadToken"];
    ASSERT_GT(token.size(), 1u);
    EXPECT_EQ(token[0], '_');
    EXPECT_EQ(rec["CommandLine"],
              folder + "\\Engine.exe /own /e1 /TH_ID=" + token + " /OriginExe=\"" + s.exe + "\"");
    EXPECT_EQ(rec["AtomFound"], "TRUE");
    EXPECT_EQ(rec["ShowWindow"], std::to_string(SW_SHOW));
    EXPECT_FALSE(Exists(folder)) << folder;
}

TEST(SetupRun, HiddenOperationAsksNothingAndStartsTheEngineHidden) {
    struct {
        const char* what;
        const char* packArgs;
        const char* args;
    } cases[] = {
        {"/hide", "--space-message", " /hide"},
        {"item 4", "--space-message --hidden", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Package s(c.packArgs);
        ASSERT_TRUE(s.ok);
        StubRun r = RunStub("\"" + s.exe + "\"" + c.args, s.EngineEnv(),
                            [](const Box& b) { b.Press("No"); });
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_TRUE(r.boxes.empty()) << Boxes(r);
        EXPECT_EQ(ReadRecord(s.record)["ShowWindow"], std::to_string(SW_HIDE));
    }
}

TEST(SetupRun, SpaceQuestionYesGoesOnNoStartsNothing) {
    for (const char* answer : {"Yes", "No"}) {
        SCOPED_TRACE(answer);
        Package s("--space-message");
        ASSERT_TRUE(s.ok);
        const std::string a = answer;
        StubRun r = RunStub("\"" + s.exe + "\"", s.EngineEnv({{"STANDIN_ENGINE_EXIT_CODE", "7"}}),
                            [a](const Box& b) { b.Press(a); });
        ASSERT_EQ(r.boxes.size(), 1u) << Boxes(r);
        const Box& box = r.boxes[0];
        EXPECT_EQ(box.title, "Confirm");
        EXPECT_NE(box.text.find("Tarnix will extract files to your Temp Drive (C:)"),
                  std::string::npos)
            << box.text;
        EXPECT_NE(box.text.find("Continue with Setup?"), std::string::npos) << box.text;
        EXPECT_NE(box.text.find(" MB"), std::string::npos) << box.text;
        if (a == "Yes") {
            EXPECT_EQ(r.exitCode, 7);
            EXPECT_FALSE(ReadRecord(s.record).empty());
        } else {
            EXPECT_EQ(r.exitCode, 0);
            EXPECT_TRUE(ReadRecord(s.record).empty());
        }
        EXPECT_FALSE(Exists(SetupFolderOf(s.exe)));
    }
}

// A package of at most 51200 bytes carries a check value; a changed byte
// fails it. The stub reads it as a relaunched copy reads its part file.
TEST(SetupRun, DamagedSmallPackageShowsBadCrcAndStartsNothing) {
    testsupport::TempDir dir;
    std::string image(1024, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    image[256] = 'P';
    image[257] = 'E';
    ASSERT_TRUE(testsupport::WriteWholeFile(dir.file("tiny.exe"), image));
    CreateDirectoryA(dir.file("pay").c_str(), nullptr);
    testsupport::WriteWholeFile(dir.file("pay") + "\\Engine.exe", std::string(3000, 'e'));
    const std::string small = dir.file("small.pkg");
    ASSERT_EQ(testsupport::RunAndWait("\"" + testsupport::DistDir() +
                                      "\\stubpack.exe\" build --quiet --stub \"" +
                                      dir.file("tiny.exe") + "\" --payload \"" + dir.file("pay") +
                                      "\" --level 0 --out \"" + small + "\""),
              0);
    std::string bytes = testsupport::ReadWholeFile(small);
    ASSERT_LE(bytes.size(), 51200u);
    const size_t at = bytes.find("eeee");
    ASSERT_NE(at, std::string::npos);
    bytes[at] = 'x';
    ASSERT_TRUE(testsupport::WriteWholeFile(small, bytes));

    Package s("");
    ASSERT_TRUE(s.ok);
    StubRun r = RunStub("\"" + s.exe + "\" /SpanDiskFName1=\"" + small + "\"", s.EngineEnv(),
                        [](const Box& b) { b.Press("OK"); });
    EXPECT_EQ(r.exitCode, 0);
    ASSERT_EQ(r.boxes.size(), 1u) << Boxes(r);
    EXPECT_EQ(r.boxes[0].title, "Error");
    EXPECT_NE(r.boxes[0].text.find("Bad CRC!"), std::string::npos) << Boxes(r);
    EXPECT_TRUE(ReadRecord(s.record).empty());
}

TEST(SetupRun, WithoutARunEntryNothingStartsAndNothingIsAsked) {
    Package s("--no-run");
    ASSERT_TRUE(s.ok);
    StubRun r = RunStub("\"" + s.exe + "\"", s.EngineEnv(), nullptr);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.boxes.empty()) << Boxes(r);
    EXPECT_TRUE(ReadRecord(s.record).empty());
    EXPECT_FALSE(Exists(SetupFolderOf(s.exe)));
}

TEST(SetupRun, AnEngineThatKeepsTheAtomMakesTheRunReportFalse) {
    ConsoleCapture console;
    struct {
        const char* keep;
        const char* line;
    } cases[] = {{"1", "atom taken=FALSE"}, {"0", "atom taken=TRUE"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keep);
        Package s("");
        ASSERT_TRUE(s.ok);
        const size_t before = console.Text().size();
        StubRun r = RunStub(
            "\"" + s.exe + "\"",
            s.EngineEnv({{"STANDIN_ENGINE_KEEP_ATOM", c.keep}, {"STANDIN_ENGINE_EXIT_CODE", "5"}}),
            nullptr);
        EXPECT_EQ(r.exitCode, 5);
        const std::string text = console.Text().substr(before);
        EXPECT_NE(text.find(std::to_string(r.pid) + " ==== SetupRun: " + c.line), std::string::npos)
            << text;
        // The stub deletes what the engine left.
        const std::string token = ReadRecord(s.record)["ThreadToken"];
        EXPECT_EQ(GlobalFindAtomA(("XkbkNbhocoKinoVsefgVjKqwcbj" + token).c_str()), 0);
    }
}

TEST(SetupRun, ADialogWindowOfTheRunKeepsTheStubWaiting) {
    Package s("");
    ASSERT_TRUE(s.ok);
    DWORD lastSeen = 0;
    std::string dialogClass;
    StubRun r = RunStub("\"" + s.exe + "\"", s.EngineEnv({{"STANDIN_ENGINE_LINGER_MS", "4000"}}),
                        nullptr, 60000, [&](DWORD) {
                            const Record rec = ReadRecord(s.record);
                            auto t = rec.find("ThreadToken");
                            if (t == rec.end()) return;
                            dialogClass = ".SDialog_Class_Name." + t->second;
                            if (FindWindowA(dialogClass.c_str(), nullptr))
                                lastSeen = GetTickCount();
                        });
    const DWORD ended = GetTickCount();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadRecord(s.record)["LingerStarted"], "TRUE");
    // The engine had exited when its record was complete; its window stayed.
    ASSERT_NE(lastSeen, 0u) << "no lingering dialog window seen";
    EXPECT_FALSE(FindWindowA(dialogClass.c_str(), nullptr));
    EXPECT_LE(lastSeen, ended);
}

TEST(SetupRun, ASecondStartOfTheSameFileEndsAtOnceACopyElsewhereRuns) {
    Package s("");
    ASSERT_TRUE(s.ok);
    testsupport::TempDir other;
    const std::string copy = other.file("Setup.exe");
    ASSERT_TRUE(CopyFileA(s.exe.c_str(), copy.c_str(), FALSE));
    // A different time of day: the copy gets a setup folder of its own.
    GiveOwnTime(copy);

    bool secondRan = false;
    StubRun second, third;
    const std::string record2 = s.dir.file("record2.txt");
    const std::string record3 = other.file("record3.txt");
    StubRun first = RunStub(
        "\"" + s.exe + "\"", s.EngineEnv({{"STANDIN_ENGINE_DIALOG_MS", "6000"}}), nullptr, 60000,
        [&](DWORD) {
            if (secondRan || !FindWindowA(s.exe.c_str(), nullptr)) return;
            secondRan = true;
            second =
                RunStub("\"" + s.exe + "\"", {{"STANDIN_ENGINE_RECORD", record2}}, nullptr, 20000);
            third = RunStub("\"" + copy + "\"", {{"STANDIN_ENGINE_RECORD", record3}}, nullptr);
        });
    ASSERT_TRUE(secondRan);
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_LT(second.elapsedMs, 4000u);
    EXPECT_TRUE(ReadRecord(record2).empty());
    EXPECT_EQ(third.exitCode, 0);
    EXPECT_EQ(ReadRecord(record3)["OriginExe"], copy);
    EXPECT_EQ(ReadRecord(s.record)["DialogMs"], "6000");
}

} // namespace
