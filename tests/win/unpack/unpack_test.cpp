// Extraction of packages built by the package writer and of hand-made ones.
#include "core/package/trailer.h"
#include "core/package/writer.h"
#include "stub/package/unpack.h"
#include "stub/package/win_file_source.h"
#include "tests/support/wine_test_support.h"
#include "tests/win/unpack/payload_fixture.h"
#include "tests/win/unpack/unpack_fixtures.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <algorithm>
#include <zlib.h>

using namespace package;
using namespace unpacktest;
using testsupport::ReadWholeFile;
using testsupport::WriteWholeFile;

namespace {

std::string Bytes(size_t n, unsigned seed) {
    std::string s(n, '\0');
    uint32_t x = seed * 2654435761u + 1;
    for (char& c : s) {
        x = x * 1664525u + 1013904223u;
        c = char(x >> 24);
    }
    return s;
}

class UnpackTest : public PayloadFixture {
  protected:
    std::string Target() const { return dir_.file("out"); }
    std::string Out(const std::string& name) const { return Target() + "\\" + name; }

    BuildOptions Options(std::vector<PayloadFile> files) {
        BuildOptions o;
        o.stubImage = Image(4096);
        o.languageBlock = kLanguageBlock;
        o.parameterBlock = kParameterBlock;
        o.files = std::move(files);
        return o;
    }
    BuildResult Build(const BuildOptions& o, const std::string& name) {
        BuildResult r;
        std::string error;
        EXPECT_TRUE(BuildPackage(o, dir_.file(name), r, error)) << error;
        return r;
    }
    int Count(int32_t kind) const {
        return int(std::count_if(ProgressLog().begin(), ProgressLog().end(),
                                 [kind](const ProgressEvent& e) { return e.kind == kind; }));
    }

    FakeUi ui_;
};

TEST_F(UnpackTest, WriterPackageExtractsFilesDatesAndRunEntry) {
    const uint32_t t1 = PackDosTime(2019, 6, 30, 14, 7, 22);
    const uint32_t t2 = PackDosTime(2001, 1, 2, 3, 4, 6);
    PayloadFile engine = File("Engine.exe", Bytes(5000, 1), t1);
    engine.run = true;
    engine.runArgs = " /quiet /x";
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "line " + std::to_string(i % 97) + "\n";
    BuildResult r = Build(Options({engine, File("sub\\deep\\notes.txt", text, t2),
                                   File("random.bin", Bytes(200000, 2)), File("empty.dat", "")}),
                          "setup.exe");
    ASSERT_TRUE(r.entries.size() == 4 && r.entries[1].compressed && !r.entries[2].compressed);

    ConsoleCapture console;
    ExtractOutcome o = RunExtract(dir_.file("setup.exe"), Target());
    EXPECT_EQ(o.error, "");
    EXPECT_TRUE(o.checkPassed);
    EXPECT_EQ(o.runEntry, "Engine.exe* /quiet /x");
    EXPECT_EQ(ReadWholeFile(Out("Engine.exe")), Bytes(5000, 1));
    EXPECT_EQ(ReadWholeFile(Out("sub\\deep\\notes.txt")), text);
    EXPECT_EQ(ReadWholeFile(Out("random.bin")), Bytes(200000, 2));
    EXPECT_TRUE(Exists(Out("empty.dat")));
    EXPECT_EQ(ReadWholeFile(Out("empty.dat")), "");
    EXPECT_EQ(FileDosTime(Out("Engine.exe")), t1);
    EXPECT_EQ(FileDosTime(Out("sub\\deep\\notes.txt")), t2);
    EXPECT_EQ(FolderNames(Target()),
              (std::vector<std::string>{"Engine.exe", "empty.dat", "random.bin", "sub"}));
    EXPECT_TRUE(ui_.errors.empty() && ui_.prompts.empty());

    std::vector<std::string> lines = console.Lines();
    auto has = [&](const std::string& prefix) {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.compare(0, prefix.size(), prefix) == 0;
        });
    };
    EXPECT_TRUE(has("FileInfo.FilesCount=4")) << console.Text();
    Win32FileSource src(dir_.file("setup.exe"));
    EXPECT_TRUE(has("FileLen=" + std::to_string(src.Size()))) << console.Text();
    EXPECT_TRUE(has("UnCompressTime: ")) << console.Text();
    auto time = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.compare(0, 16, "UnCompressTime: ") == 0;
    });
    ASSERT_NE(time, lines.end());
    EXPECT_EQ(time->substr(time->size() - 3), " MS");
    ASSERT_NE(time + 1, lines.end());
    EXPECT_EQ(*(time + 1), "");
}

TEST_F(UnpackTest, RunEntryWithAndWithoutArguments) {
    struct Case {
        std::string header;
        const char* runEntry;
        const char* file;
    } cases[] = {
        {"|Engine.exe*|0|", "Engine.exe*", "Engine.exe"},
        {"|Engine.exe* /s /v|0|", "Engine.exe* /s /v", "Engine.exe"},
        {"|plain.txt|0|", "", "plain.txt"},
    };
    int n = 0;
    for (const Case& c : cases) {
        HandPackage p;
        p.entries = StoredEntry(c.header, "body");
        p.fileCount = 1;
        std::string pkg = dir_.file("run" + std::to_string(n) + ".exe");
        ASSERT_TRUE(WriteWholeFile(pkg, p.Bytes()));
        std::string target = dir_.file("run" + std::to_string(n++));
        ExtractOutcome o = RunExtract(pkg, target);
        EXPECT_EQ(o.runEntry, c.runEntry) << c.header;
        EXPECT_EQ(ReadWholeFile(target + "\\" + c.file), "body") << c.header;
    }
}

TEST_F(UnpackTest, SameNameEntriesAppendInOrderAndCountOnce) {
    HandPackage p;
    p.entries = ZEntry(Header("big.bin"), "first part|") +
                StoredEntry(Header("big.bin"), "second|") + ZEntry(Header("BIG.BIN"), "third") +
                StoredEntry(Header("other"), "o");
    p.fileCount = 2;
    ASSERT_TRUE(WriteWholeFile(dir_.file("p.exe"), p.Bytes()));
    ExtractOutcome o = RunExtract(dir_.file("p.exe"), Target());
    EXPECT_EQ(o.error, "");
    // File names compare without case on Windows: the third entry appends too.
    EXPECT_EQ(ReadWholeFile(Out("big.bin")), "first part|second|third");
    EXPECT_EQ(Count(kProgressStep), 2);
}

TEST_F(UnpackTest, LeftOverFileIsAppendedTo) {
    CreateDirectoryA(Target().c_str(), nullptr);
    ASSERT_TRUE(WriteWholeFile(Out("a.txt"), "old-"));
    HandPackage p;
    p.entries = StoredEntry(Header("a.txt"), "new");
    ASSERT_TRUE(WriteWholeFile(dir_.file("p.exe"), p.Bytes()));
    RunExtract(dir_.file("p.exe"), Target());
    EXPECT_EQ(ReadWholeFile(Out("a.txt")), "old-new");
    EXPECT_EQ(Count(kProgressStep), 0); // the file existed already
}

TEST_F(UnpackTest, TwentyOneFilesGiveTheRangeAndOneStepEach) {
    std::vector<PayloadFile> files;
    for (int i = 0; i < 21; ++i)
        files.push_back(File("f" + std::to_string(i) + ".txt", "content " + std::to_string(i)));
    Build(Options(files), "p21.exe");
    ExtractOutcome o = RunExtract(dir_.file("p21.exe"), Target());
    EXPECT_TRUE(o.checkPassed);
    const std::vector<ProgressEvent>& log = ProgressLog();
    ASSERT_EQ(log.size(), 23u);
    EXPECT_TRUE(log[0].kind == 0 && log[0].maximum == 0 && log[0].position == 0 &&
                log[0].step == 1);
    EXPECT_TRUE(log[1].kind == 0 && log[1].maximum == 21 && log[1].position == 0 &&
                log[1].step == 1 && log[1].reserved == 0);
    for (size_t i = 2; i < log.size(); ++i)
        EXPECT_EQ(log[i].kind, kProgressStep) << i;
    EXPECT_EQ(FolderNames(Target()).size(), 21u);
}

HWND g_probeWindow;
int g_delivered;
std::vector<int> g_seenAtStep;

LRESULT CALLBACK ProbeProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER + 7) ++g_delivered;
    return DefWindowProcA(h, m, w, l);
}

// Each step notes what has been delivered and posts one more message.
void PostingHandler(int32_t kind, int32_t, int32_t, int32_t, int32_t, const std::string&) {
    if (kind != kProgressStep) return;
    g_seenAtStep.push_back(g_delivered);
    PostMessageA(g_probeWindow, WM_USER + 7, 0, 0);
}

TEST_F(UnpackTest, MessagesAreDispatchedBetweenEntries) {
    g_delivered = 0;
    g_seenAtStep.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "UnpackPumpProbe";
    RegisterClassA(&wc);
    g_probeWindow = CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  wc.hInstance, nullptr);
    ASSERT_TRUE(g_probeWindow);
    HandPackage p;
    for (int i = 0; i < 4; ++i)
        p.entries += ZEntry(Header("f" + std::to_string(i)), Bytes(100000, unsigned(i)));
    ASSERT_TRUE(WriteWholeFile(dir_.file("p.exe"), p.Bytes()));
    bool passed = false;
    std::string run;
    Extract(dir_.file("p.exe"), Target(), "", passed, PostingHandler, "", "", "", 0, false, run);
    EXPECT_EQ(g_seenAtStep, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(g_delivered, 4);
    DestroyWindow(g_probeWindow);
}

class MultiPartTest : public UnpackTest {
  protected:
    // A set of 6 files over several parts: set.exe.001, .002, ...
    void SetUp() override {
        for (int i = 0; i < 6; ++i)
            files_.push_back(File("f" + std::to_string(i) + ".bin", Bytes(30000, unsigned(i))));
        BuildOptions o = Options(files_);
        o.files[0].run = true;
        o.diskSize = 80000;
        BuildResult r = Build(o, "set.exe");
        parts_.assign(r.outputs.begin() + 1, r.outputs.end());
        ASSERT_GE(parts_.size(), 3u);
    }
    void ExpectAllFiles() {
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(ReadWholeFile(Out("f" + std::to_string(i) + ".bin")),
                      Bytes(30000, unsigned(i)))
                << i;
    }
    // Moves part n (1-based) aside so that it is missing.
    std::string Hide(size_t n) {
        std::string aside = parts_[n - 1] + ".aside";
        EXPECT_TRUE(MoveFileA(parts_[n - 1].c_str(), aside.c_str()));
        return aside;
    }
    std::vector<PayloadFile> files_;
    std::vector<std::string> parts_;
};

TEST_F(MultiPartTest, PartsBesideTheFirstNeedNoPrompt) {
    ExtractOutcome o = RunExtract(parts_[0], Target());
    EXPECT_TRUE(o.checkPassed);
    EXPECT_EQ(o.runEntry, "f0.bin*");
    ExpectAllFiles();
    EXPECT_TRUE(ui_.prompts.empty());
    EXPECT_EQ(ui_.ejects, 0);
    EXPECT_EQ(ui_.autoPlayEnabled, int(parts_.size()) - 1);
    // One step per new file and one per part change.
    EXPECT_EQ(Count(kProgressStep), 6 + int(parts_.size()) - 1);
}

TEST_F(MultiPartTest, MissingPartPromptsUntilItAppears) {
    std::string aside = Hide(2);
    std::string second = parts_[1];
    ui_.answers = {true, true, true};
    ui_.onPrompt = [&](int n) {
        if (n == 2) MoveFileA(aside.c_str(), second.c_str());
    };
    ExtractOutcome o = RunExtract(parts_[0], Target());
    ASSERT_EQ(ui_.prompts.size(), 2u);
    EXPECT_EQ(ui_.prompts[0], "Please insert <B>DISK #2</B> and press OK");
    EXPECT_EQ(ui_.promptTitles[0], "Attention");
    EXPECT_EQ(ui_.ejects, 1);
    EXPECT_EQ(ui_.ejectPath, second);
    EXPECT_EQ(o.runEntry, "f0.bin*");
    ExpectAllFiles();
}

TEST_F(MultiPartTest, CancelEndsExtractionAndClearsTheRunEntry) {
    Hide(parts_.size());
    ui_.answers = {true, false};
    ExtractOutcome o = RunExtract(parts_[0], Target());
    EXPECT_EQ(ui_.prompts.size(), 2u);
    EXPECT_EQ(ui_.prompts[1].find("DISK #" + std::to_string(parts_.size())), 17u);
    EXPECT_EQ(o.runEntry, "");
    EXPECT_TRUE(o.checkPassed);
    EXPECT_TRUE(Exists(Out("f0.bin")));
}

TEST_F(MultiPartTest, ForcePromptAsksForEveryPartAndEjectsOnce) {
    ui_.answers = std::vector<bool>(parts_.size(), true);
    ExtractOutcome o = RunExtract(parts_[0], Target(), "", true);
    EXPECT_EQ(ui_.prompts.size(), parts_.size() - 1);
    EXPECT_EQ(ui_.ejects, 1);
    EXPECT_EQ(o.runEntry, "f0.bin*");
    ExpectAllFiles();
}

TEST_F(MultiPartTest, UpperCaseExeNameFindsItsPartsAndWritesTheAgentCopy) {
    std::vector<std::string> upper;
    for (size_t i = 0; i < parts_.size(); ++i) {
        char suffix[8];
        std::snprintf(suffix, sizeof suffix, ".%03u", unsigned(i + 1));
        upper.push_back(dir_.file(std::string("SET.EXE") + suffix));
        ASSERT_TRUE(MoveFileA(parts_[i].c_str(), (upper.back() + ".tmp").c_str()));
        ASSERT_TRUE(MoveFileA((upper.back() + ".tmp").c_str(), upper.back().c_str()));
    }
    ExtractOutcome o = RunExtract(upper[0], Target(), "C:\\elsewhere\\Agent.exe");
    EXPECT_TRUE(ui_.prompts.empty());
    ExpectAllFiles();
    std::string agent = ReadWholeFile(Out("Agent.exe"));
    ASSERT_GT(agent.size(), kTrailerSize);
    MemorySource src(agent);
    PackageTrailer rec;
    ASSERT_TRUE(ReadTrailer(src, rec));
    EXPECT_EQ(rec.Byte(field::kIsAgent), 1);
}

TEST_F(UnpackTest, AgentCopyHoldsImageBlocksAndTheAgentTrailer) {
    // Above the checked size, so the changed end pointer needs no new check value.
    BuildOptions o = Options({File("Engine.exe", Bytes(60000, 4))});
    o.trailer.SetByte(field::kWriteAgentCopy, 1);
    Build(o, "pkg.exe");
    std::string pkg = ReadWholeFile(dir_.file("pkg.exe"));
    // An end pointer as signing leaves it: the copy must clear it.
    PutLE32(reinterpret_cast<uint8_t*>(&pkg[252]), uint32_t(pkg.size()));
    ASSERT_TRUE(WriteWholeFile(dir_.file("pkg.exe"), pkg));
    FILETIME stamp{};
    SYSTEMTIME st{2015, 3, 0, 4, 10, 20, 30, 0};
    SystemTimeToFileTime(&st, &stamp);
    HANDLE h = CreateFileA(dir_.file("pkg.exe").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           0, nullptr);
    SetFileTime(h, nullptr, nullptr, &stamp);
    CloseHandle(h);

    ConsoleCapture console;
    RunExtract(dir_.file("pkg.exe"), Target(), "Agent.exe");
    std::string agent = ReadWholeFile(Out("Agent.exe"));
    const size_t head = 4096 + 4 + kLanguageBlock.size() + 4 + kParameterBlock.size();
    ASSERT_EQ(agent.size(), head + kTrailerSize);
    std::string expected = pkg.substr(0, head);
    PutLE32(reinterpret_cast<uint8_t*>(&expected[252]), 0);
    EXPECT_EQ(agent.substr(0, head), expected);
    std::string trailer = agent.substr(head);
    std::string original = pkg.substr(pkg.size() - kTrailerSize);
    EXPECT_EQ(uint8_t(trailer[69]), 1);
    EXPECT_EQ(GetLE32(reinterpret_cast<const uint8_t*>(&trailer[70])), kTrailerSize);
    EXPECT_EQ(trailer.substr(0, 69), original.substr(0, 69));
    // Byte 68 is copied as it is: the agent itself writes no further copies on its own.
    EXPECT_EQ(uint8_t(trailer[68]), 1);

    HANDLE a = CreateFileA(Out("Agent.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    FILETIME got{};
    GetFileTime(a, nullptr, nullptr, &got);
    CloseHandle(a);
    EXPECT_EQ(CompareFileTime(&got, &stamp), 0);
    std::string pid = std::to_string(GetCurrentProcessId());
    EXPECT_NE(console.Text().find(pid + " New AU-Agent: " + Out("Agent.exe")), std::string::npos)
        << console.Text();
}

TEST_F(UnpackTest, AgentCopyOnlyFromExeNames) {
    HandPackage p;
    p.entries = StoredEntry(Header("x"), "x");
    ASSERT_TRUE(WriteWholeFile(dir_.file("pkg.bin"), p.Bytes()));
    RunExtract(dir_.file("pkg.bin"), Target(), "Agent.exe");
    EXPECT_FALSE(Exists(Out("Agent.exe")));
    EXPECT_TRUE(Exists(Out("x")));
    ASSERT_TRUE(WriteWholeFile(dir_.file("pkg2.exe"), p.Bytes()));
    RunExtract(dir_.file("pkg2.exe"), dir_.file("out2"), "..\\..\\Agent.exe");
    EXPECT_TRUE(Exists(dir_.file("out2\\Agent.exe"))); // only the file-name part counts
}

TEST_F(UnpackTest, FailedCheckValueOrMissingPackageWritesNothing) {
    HandPackage p;
    p.entries = StoredEntry(Header("a.txt"), "aaaa");
    p.computeCheck = true;
    std::string good = p.Bytes();
    ASSERT_TRUE(WriteWholeFile(dir_.file("good.exe"), good));
    EXPECT_TRUE(RunExtract(dir_.file("good.exe"), dir_.file("g")).checkPassed);
    EXPECT_TRUE(Exists(dir_.file("g\\a.txt")));

    std::string bad = good;
    bad[2048 + 20] ^= 0x40; // inside the language block
    ASSERT_TRUE(WriteWholeFile(dir_.file("bad.exe"), bad));
    ExtractOutcome o = RunExtract(dir_.file("bad.exe"), Target());
    EXPECT_FALSE(o.checkPassed);
    EXPECT_FALSE(Exists(Target()));

    o = RunExtract(dir_.file("missing.exe"), Target());
    EXPECT_FALSE(o.checkPassed);
    EXPECT_EQ(o.runEntry, "");
    EXPECT_FALSE(Exists(Target()));
}

TEST_F(UnpackTest, WrongMagicReadsNoEntries) {
    HandPackage p;
    p.entries = StoredEntry(Header("a.txt*"), "aaaa");
    p.trailer.SetU32(field::kMagic, 0x4A3B2C1E);
    ASSERT_TRUE(WriteWholeFile(dir_.file("p.exe"), p.Bytes()));
    ExtractOutcome o = RunExtract(dir_.file("p.exe"), Target());
    EXPECT_TRUE(o.checkPassed);
    EXPECT_EQ(o.runEntry, "");
    EXPECT_FALSE(Exists(Out("a.txt")));
    EXPECT_TRUE(ui_.errors.empty());
}

TEST_F(UnpackTest, HostileNamesAreSkippedAndNothingLeavesTheTarget) {
    // The target lies two levels down so that escapes would land in dir_.
    const std::string target = dir_.file("t1\\t2");
    const char* hostile[] = {"..\\escaped.txt",
                             "sub\\..\\..\\escaped2.txt",
                             "C:\\absolute.txt",
                             "\\rooted.txt",
                             "D:drive.txt",
                             "\\\\?\\C:\\device.txt",
                             "CON",
                             "nul.txt",
                             "COM1",
                             "sub\\LPT1.log",
                             "a.txt:stream",
                             "...",
                             ""};
    HandPackage p;
    for (const char* name : hostile)
        p.entries += StoredEntry(Header(name), "bad");
    p.entries += ZEntry(Header("|*args"), "bad") + StoredEntry(Header("good.txt"), "fine");
    ASSERT_TRUE(WriteWholeFile(dir_.file("p.exe"), p.Bytes()));
    std::vector<std::string> before = FolderNames(dir_.path());

    ConsoleCapture console;
    ExtractOutcome o = RunExtract(dir_.file("p.exe"), target);
    EXPECT_EQ(o.error, "");
    EXPECT_EQ(ReadWholeFile(target + "\\good.txt"), "fine");
    EXPECT_EQ(FolderNames(target), std::vector<std::string>{"good.txt"});
    EXPECT_EQ(FolderNames(dir_.file("t1")), std::vector<std::string>{"t2"});
    std::vector<std::string> after = FolderNames(dir_.path());
    after.erase(std::remove(after.begin(), after.end(), "t1"), after.end());
    EXPECT_EQ(after, before);
    EXPECT_FALSE(Exists("C:\\absolute.txt"));
    EXPECT_FALSE(Exists("C:\\rooted.txt"));
    // The run marker of a skipped entry is not taken either.
    EXPECT_EQ(o.runEntry, "");
    size_t skips = 0;
    for (const std::string& l : console.Lines())
        if (l.find("entry skipped") != std::string::npos) ++skips;
    EXPECT_EQ(skips, std::size(hostile) + 1) << console.Text();
}

TEST_F(UnpackTest, CorruptZlibStreamStopsWithZlibsMessage) {
    std::string z = ZEntry(Header("ok.txt"), "good");
    std::string broken = ZEntry(Header("Engine.exe*"), std::string(5000, 'q'));
    broken[4] = 0x12; // not a zlib header
    HandPackage p;
    p.entries = StoredEntry(Header("Engine.exe*"), "e") + z + broken +
                StoredEntry(Header("after.txt"), "never");
    ASSERT_TRUE(WriteWholeFile(dir_.file("p.exe"), p.Bytes()));
    ExtractOutcome o = RunExtract(dir_.file("p.exe"), Target());
    EXPECT_NE(o.error.find("incorrect header check"), std::string::npos) << o.error;
    EXPECT_EQ(o.runEntry, "");
    EXPECT_EQ(ReadWholeFile(Out("ok.txt")), "good");
    EXPECT_FALSE(Exists(Out("after.txt")));
}

TEST_F(UnpackTest, LengthPastThePartEndEndsThePartCleanly) {
    struct Case {
        const char* name;
        std::string tail;
    } cases[] = {
        {"stored",
         [] {
             std::string e;
             AppendLE32(e, uint32_t(-100000));
             return e + "|x.txt|0|" + std::string(1, '\0') + "partial";
         }()},
        {"compressed",
         [] {
             std::string e;
             AppendLE32(e, 0x7FFFFFFF);
             return e + "xyz";
         }()},
        {"minimum",
         [] {
             std::string e;
             AppendLE32(e, 0x80000000u);
             return e;
         }()},
    };
    int n = 0;
    for (const Case& c : cases) {
        HandPackage p;
        p.entries = StoredEntry(Header("first.txt"), "1") + c.tail;
        std::string pkg = dir_.file("t" + std::to_string(n) + ".exe");
        std::string target = dir_.file("t" + std::to_string(n++));
        ASSERT_TRUE(WriteWholeFile(pkg, p.Bytes()));
        ExtractOutcome o = RunExtract(pkg, target);
        EXPECT_EQ(o.error, "") << c.name;
        EXPECT_EQ(FolderNames(target), std::vector<std::string>{"first.txt"}) << c.name;
    }
}

TEST_F(UnpackTest, FirstWriteFailureIsShownOnceWithItsFigures) {
    CreateDirectoryA(Target().c_str(), nullptr);
    // Folders where the files should go: every write fails.
    CreateDirectoryA(Out("a.txt").c_str(), nullptr);
    CreateDirectoryA(Out("b.txt").c_str(), nullptr);
    HandPackage p;
    p.entries = ZEntry(Header("a.txt"), std::string(3000000, 'a')) +
                StoredEntry(Header("b.txt"), "bb") + StoredEntry(Header("c.txt"), "cc");
    ASSERT_TRUE(WriteWholeFile(dir_.file("p.exe"), p.Bytes()));
    ExtractOutcome o = RunExtract(dir_.file("p.exe"), Target());
    EXPECT_EQ(o.error, "");
    ASSERT_EQ(ui_.errors.size(), 1u);
    const std::string& e = ui_.errors[0];
    EXPECT_EQ(e.find(Out("a.txt") + "<P><P>Unable to save Extracted File!<P><P>"), 0u) << e;
    EXPECT_NE(e.find("<P>  Data Size: <T>3000000 Bytes<P>  File Size:  <T>"), std::string::npos)
        << e;
    EXPECT_NE(e.find(" Bytes<P>  Bytes Free: <T>"), std::string::npos) << e;
    EXPECT_EQ(e.substr(e.size() - 6), " Bytes");
    EXPECT_EQ(ReadWholeFile(Out("c.txt")), "cc"); // extraction went on
    // A later extraction in the same process stays silent too.
    RunExtract(dir_.file("p.exe"), Target());
    EXPECT_EQ(ui_.errors.size(), 1u);
}

TEST_F(UnpackTest, TargetThatCannotBeCreatedIsReported) {
    ASSERT_TRUE(WriteWholeFile(dir_.file("plain"), "x"));
    HandPackage p;
    p.entries = StoredEntry(Header("a.txt"), "a");
    ASSERT_TRUE(WriteWholeFile(dir_.file("p.exe"), p.Bytes()));
    std::string target = dir_.file("plain\\sub");
    RunExtract(dir_.file("p.exe"), target);
    ASSERT_GE(ui_.errors.size(), 1u);
    EXPECT_EQ(ui_.errors[0].find(target + "<P><P>Unable to create Directory!<P><P>"), 0u)
        << ui_.errors[0];
    EXPECT_GT(ui_.errors[0].size(), target.size() + 40);
}

TEST_F(UnpackTest, LargeEntryStreamsWithinBoundedMemory) {
    // One 192 MB entry, deflated in pieces so the fixture needs little memory too.
    const size_t total = 192u << 20;
    std::string path = dir_.file("big.exe");
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    auto put = [&](const std::string& s) {
        DWORD n;
        WriteFile(f, s.data(), DWORD(s.size()), &n, nullptr);
    };
    HandPackage p;
    put(p.image + p.blocks);
    put(std::string(4, '\0')); // length, filled in below
    z_stream z{};
    deflateInit(&z, 1);
    std::string chunk = Bytes(1 << 20, 9).substr(0, 4096);
    std::string piece;
    for (int i = 0; i < 256; ++i)
        piece += chunk;
    std::string head = Header("big.bin") + std::string(1, '\0');
    std::string out(1 << 20, '\0');
    uint32_t zlen = 0;
    auto feed = [&](const std::string& in, int flush) {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
        z.avail_in = uInt(in.size());
        do {
            z.next_out = reinterpret_cast<Bytef*>(&out[0]);
            z.avail_out = uInt(out.size());
            deflate(&z, flush);
            size_t n = out.size() - z.avail_out;
            put(out.substr(0, n));
            zlen += uint32_t(n);
        } while (z.avail_out == 0);
    };
    feed(head, Z_NO_FLUSH);
    for (size_t done = 0; done < total; done += piece.size())
        feed(piece, done + piece.size() < total ? Z_NO_FLUSH : Z_FINISH);
    deflateEnd(&z);
    PackageTrailer t;
    t.SetByte(field::kBlockCount, 2);
    t.SetU32(field::kPackageStart, uint32_t(p.image.size()));
    t.SetU32(field::kMagic, kTrailerMagic);
    t.SetU32(field::kCheckValue, kUncheckedValue);
    t.SetU32(field::kFileCount, 1);
    t.SetU32(field::kSize, kTrailerSize);
    put(t.ToString());
    LARGE_INTEGER at;
    at.QuadPart = LONGLONG(p.image.size() + p.blocks.size());
    SetFilePointerEx(f, at, nullptr, FILE_BEGIN);
    std::string len;
    AppendLE32(len, zlen);
    put(len);
    CloseHandle(f);

    using Info = BOOL(WINAPI*)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);
    // Through void* so the cast from FARPROC raises no function-type warning.
    auto query = reinterpret_cast<Info>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
    PROCESS_MEMORY_COUNTERS before{}, after{};
    if (query) query(GetCurrentProcess(), &before, sizeof before);
    ExtractOutcome o = RunExtract(path, Target());
    if (query) query(GetCurrentProcess(), &after, sizeof after);
    EXPECT_EQ(o.error, "");
    WIN32_FILE_ATTRIBUTE_DATA a{};
    ASSERT_TRUE(GetFileAttributesExA(Out("big.bin").c_str(), GetFileExInfoStandard, &a));
    EXPECT_EQ(uint64_t(a.nFileSizeHigh) << 32 | a.nFileSizeLow, total);
    if (query && after.PeakWorkingSetSize > before.PeakWorkingSetSize) {
        EXPECT_LT(after.PeakWorkingSetSize - before.PeakWorkingSetSize, size_t(64) << 20);
    }
    Win32FileSource written(Out("big.bin"));
    EXPECT_EQ(written.Read(total - 4096, 4096), chunk);
}

} // namespace
