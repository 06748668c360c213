// Multi-disk sets: the first disk relaunches "Y_" + its name from the setup
// folder; the copy reads the parts, asks for missing disks, and goes away.
#include "tests/win/setup/setup_driver.h"

#include "tests/support/wine_test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using namespace setuptest;

constexpr char kSpanKey[] = "Software\\Kolvane\\Tarnix\\SpanDisk";

struct DiskSet {
    testsupport::TempDir dir;
    std::string exe, record, folder;
    bool ok = false;
    DiskSet() {
        const std::string pay = dir.file("pay");
        MakePayload(pay);
        // Two stored entries of the engine's size: the stub and the first fill
        // disk 1, the second goes to disk 2.
        CopyFileA((pay + "\\Engine.exe").c_str(), (pay + "\\second.bin").c_str(), FALSE);
        exe = dir.file("Setup.exe");
        record = dir.file("record.txt");
        ok = Pack(pay, exe, "--level 0 --disk-size 9M") && Exists(exe + ".001") &&
             Exists(exe + ".002");
        GiveOwnTime(exe);
        folder = SetupFolderOf(exe);
    }
    std::string Copy() const { return folder + "\\Y_Setup.exe"; }
    // The relaunched copy runs on after the first process: wait for its record.
    Record WaitForRecord(unsigned ms = 60000) const {
        const DWORD start = GetTickCount();
        for (;;) {
            Record r = ReadRecord(record);
            if (r.count("ExitCode")) return r;
            if (GetTickCount() - start > ms) return r;
            Sleep(100);
        }
    }
};

void SetForcePrompt(const char* value) {
    HKEY k = nullptr;
    if (!value) {
        RegDeleteKeyA(HKEY_CURRENT_USER, kSpanKey);
        return;
    }
    RegCreateKeyExA(HKEY_CURRENT_USER, kSpanKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k,
                    nullptr);
    RegSetValueExA(k, "ForcePrompt", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   DWORD(strlen(value) + 1));
    RegCloseKey(k);
}

// Answers the copy's disk prompts (a process the test did not start).
class PromptAnswerer {
  public:
    explicit PromptAnswerer(const std::string& answer) : answer_(answer) {}
    void Tick() {
        Box b = FindBox(0, "DISK #");
        if (!b.window || b.window == last_) return;
        Sleep(200);
        b = FindBox(0, "DISK #");
        if (!b.window) return;
        last_ = b.window;
        boxes.push_back(b);
        b.Press(answer_);
    }
    std::vector<Box> boxes;

  private:
    std::string answer_;
    HWND last_ = nullptr;
};

// Runs the first disk and then watches its copy until the copy is gone.
void RunSet(const DiskSet& set, const std::string& args, PromptAnswerer* prompts, StubRun& first) {
    first = RunStub("\"" + set.exe + "\"" + args, {{"STANDIN_ENGINE_RECORD", set.record}}, nullptr);
    const DWORD start = GetTickCount();
    while (Exists(set.Copy()) && GetTickCount() - start < 60000) {
        if (prompts) prompts->Tick();
        Sleep(50);
    }
}

TEST(SpanDisks, FirstDiskRelaunchesACopyThatRunsTheSetupAndRemovesItself) {
    SetForcePrompt(nullptr);
    DiskSet set;
    ASSERT_TRUE(set.ok);
    StubRun first;
    PromptAnswerer prompts("OK");
    RunSet(set, " /own", &prompts, first);
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_LT(first.elapsedMs, 10000u);
    EXPECT_TRUE(prompts.boxes.empty()) << "all parts lie beside the stub";
    Record rec = set.WaitForRecord();
    ASSERT_FALSE(rec.empty());
    const std::string cl = rec["CommandLine"];
    EXPECT_EQ(cl.rfind(set.folder + "\\Engine.exe /own ", 0), 0u) << cl;
    EXPECT_EQ(rec["OriginExe"], set.exe);
    EXPECT_EQ(cl.find("/OriginExe="), cl.rfind("/OriginExe=")) << cl;
    EXPECT_EQ(cl.find("/SpanCdLvl="), std::string::npos) << cl;
    EXPECT_EQ(cl.find("/SpanDiskFName1="), std::string::npos) << cl;
    EXPECT_TRUE(GoneWithin(set.Copy(), 20000)) << set.Copy();
    EXPECT_TRUE(GoneWithin(set.folder, 20000)) << set.folder;
    EXPECT_TRUE(Exists(set.exe));
}

TEST(SpanDisks, AMissingPartIsAskedForAndCancelStartsNothing) {
    SetForcePrompt(nullptr);
    DiskSet set;
    ASSERT_TRUE(set.ok);
    ASSERT_TRUE(MoveFileA((set.exe + ".002").c_str(), set.dir.file("elsewhere.002").c_str()));
    StubRun first;
    PromptAnswerer prompts("Cancel");
    RunSet(set, "", &prompts, first);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].title, "Attention");
    EXPECT_NE(prompts.boxes[0].text.find("Please insert DISK #2 and press OK to continue"),
              std::string::npos)
        << prompts.boxes[0].text;
    EXPECT_TRUE(ReadRecord(set.record).empty());
    EXPECT_TRUE(GoneWithin(set.folder, 20000)) << set.folder;
}

TEST(SpanDisks, ForcePromptAsksForEveryDisk) {
    SetForcePrompt("1");
    DiskSet set;
    ASSERT_TRUE(set.ok);
    StubRun first;
    PromptAnswerer prompts("OK");
    RunSet(set, "", &prompts, first);
    SetForcePrompt(nullptr);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_NE(prompts.boxes[0].text.find("DISK #2"), std::string::npos);
    EXPECT_FALSE(set.WaitForRecord().empty());
}

TEST(SpanDisks, LevelTwoByHandRunsInPlaceFromTheFirstPartAndRemovesItself) {
    SetForcePrompt(nullptr);
    DiskSet set;
    ASSERT_TRUE(set.ok);
    // The stub removes itself and its folder: run it from a folder of its own.
    testsupport::TempDir own;
    const std::string sub = own.file("disk");
    CreateDirectoryA(sub.c_str(), nullptr);
    const std::string exe = sub + "\\Setup.exe";
    for (const char* ext : {"", ".001", ".002"})
        ASSERT_TRUE(CopyFileA((set.exe + ext).c_str(), (exe + ext).c_str(), FALSE));
    GiveOwnTime(exe);
    StubRun r = RunStub("\"" + exe + "\" /SpanCdLvl=2", {{"STANDIN_ENGINE_RECORD", set.record}},
                        [](const Box& b) { b.Press("OK"); });
    EXPECT_EQ(r.exitCode, 0);
    Record rec = ReadRecord(set.record);
    EXPECT_EQ(rec["OriginExe"], exe);
    EXPECT_FALSE(Exists(SetupFolderOf(set.exe) + "\\Y_Setup.exe"));
    // The stub goes; its folder only with it when empty, so the parts stay.
    EXPECT_TRUE(GoneWithin(exe, 20000)) << exe;
    EXPECT_TRUE(Exists(exe + ".001"));
}

} // namespace
