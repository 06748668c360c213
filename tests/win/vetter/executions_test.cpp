// The executions, through their exports.
#include "tests/win/vetter/vetter_dll.h"

#include <string>

namespace {

using namespace vettertest;
using testsupport::ReadWholeFile;
using testsupport::WriteWholeFile;

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class CurrentDirectory {
  public:
    explicit CurrentDirectory(const std::string& dir) {
        GetCurrentDirectoryA(sizeof saved_, saved_);
        SetCurrentDirectoryA(dir.c_str());
    }
    ~CurrentDirectory() { SetCurrentDirectoryA(saved_); }

  private:
    char saved_[MAX_PATH * 2] = {};
};

TEST(VetterExecutions, ExtractFileCopiesLinesOrReportsNothingCopied) {
    testsupport::TempDir dir;
    std::string text = std::string(1000, 'x') + "\r\nsecond line\r\n\r\nlast";
    ASSERT_TRUE(WriteWholeFile(dir.file("src.txt"), text));
    EXPECT_EQ(Execution(0, dir.file("src.txt").c_str(), dir.file("dst.txt").c_str()), 1);
    EXPECT_EQ(ReadWholeFile(dir.file("dst.txt")), text);

    EXPECT_EQ(Execution(0, dir.file("missing.txt").c_str(), dir.file("new.txt").c_str()), 0);
    EXPECT_FALSE(Exists(dir.file("new.txt")));
    EXPECT_EQ(Execution(0, dir.file("src.txt").c_str(), dir.file("no\\such\\dst.txt").c_str()), 0);
    EXPECT_EQ(Execution(0, "", dir.file("x.txt").c_str()), 0);
    EXPECT_EQ(Execution(0, dir.file("src.txt").c_str(), ""), 0);
    EXPECT_EQ(Execution(0, nullptr, nullptr), 0);
}

TEST(VetterExecutions, CreateBxArgBelowTheBaseFolder) {
    testsupport::TempDir base;
    CreateDirectoryA(base.file("tools").c_str(), nullptr);
    ASSERT_TRUE(WriteWholeFile(base.file("tools\\X64_bx.arg"), "64-bit args"));
    ASSERT_TRUE(WriteWholeFile(base.file("tools\\X86_bx.arg"), "32-bit args"));
    // The test build is 64-bit Windows: the X64 template is taken.
    EXPECT_EQ(Execution(1, ".\\tools", ("\"" + base.path() + "\"").c_str()), 1);
    EXPECT_EQ(ReadWholeFile(base.file("tools\\bx.arg")), "64-bit args");
    ASSERT_TRUE(WriteWholeFile(base.file("tools\\X64_bx.arg"), "again"));
    EXPECT_EQ(Execution(1, base.file("tools").c_str(), "C:\\unused"), 1); // absolute target
    EXPECT_EQ(ReadWholeFile(base.file("tools\\bx.arg")), "again");
    EXPECT_EQ(Execution(1, base.file("nowhere").c_str(), "x"), 1); // copy failures not reported
    EXPECT_EQ(Execution(1, "", "x"), 0);
    EXPECT_EQ(Execution(1, ".\\tools", nullptr), 0);
}

TEST(VetterExecutions, ExtractBxParAndReleaseNotes) {
    testsupport::TempDir source, target;
    ASSERT_TRUE(WriteWholeFile(source.file("A#bx.par"), "parameters"));
    ASSERT_TRUE(WriteWholeFile(source.file("rel_note.txt"), "notes"));
    {
        CurrentDirectory here(target.path());
        EXPECT_EQ(Execution(2, source.path().c_str(), "<TargetParFilePath>"), 1);
        EXPECT_EQ(ReadWholeFile(target.file("bx.par")), "parameters");
        EXPECT_EQ(Execution(3, source.path().c_str(), ""), 1);
        EXPECT_EQ(ReadWholeFile(target.file("rel_note.txt")), "notes");
    }
    EXPECT_EQ(Execution(3, source.path().c_str(), target.file("notes-copy.txt").c_str()), 1);
    EXPECT_EQ(ReadWholeFile(target.file("notes-copy.txt")), "notes"); // a file path, not a folder
    EXPECT_EQ(Execution(2, source.path().c_str(), target.file("p.par").c_str()), 1);
    EXPECT_EQ(ReadWholeFile(target.file("p.par")), "parameters");

    testsupport::TempDir empty;
    EXPECT_EQ(Execution(2, empty.path().c_str(), target.file("none.par").c_str()), 0);
    EXPECT_FALSE(Exists(target.file("none.par")));
    EXPECT_EQ(Execution(3, empty.path().c_str(), target.file("none.txt").c_str()), 0);
    EXPECT_EQ(Execution(2, "", "x"), 0);
}

TEST(VetterExecutions, FindsTheFirstMatch) {
    testsupport::TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir.file("only#bx.par"), "p"));
    using FindFn = bool (*)(char*, char*);
    auto find = Export<FindFn>("?DLL_FindFirstFile@@YA_NPAD0@Z");
    std::string pattern = dir.file("*#bx.par");
    char name[512] = {};
    ASSERT_TRUE(find(&pattern[0], name));
    EXPECT_STREQ(name, "only#bx.par");
    std::string none = dir.file("*.none");
    EXPECT_FALSE(find(&none[0], name));
}

// The console executions run in vetcheck, a console program of its own, so
// they cannot take the test program's console away.
TEST(VetterExecutions, ConsoleExecutionsAnswerByTheirArguments) {
    testsupport::TempDir dir;
    struct Case {
        const char* args;
        const char* expected;
    } cases[] = {
        {"--exec 4 hello", "run execution 4 = 1"},
        {"--exec 4", "run execution 4 = 0"},
        {"--exec 5 Setup.exe 2.0", "run execution 5 = 1"},
        {"--exec 5 Setup.exe", "run execution 5 = 0"},
    };
    int i = 0;
    for (const Case& c : cases) {
        std::string out = dir.file("out" + std::to_string(i++) + ".txt");
        std::string cmd = "cmd /c \"\"" + testsupport::DistDir() + "\\vetcheck.exe\" " + c.args +
                          " > \"" + out + "\" 2>&1\"";
        testsupport::RunAndWait(cmd);
        EXPECT_NE(ReadWholeFile(out).find(c.expected), std::string::npos)
            << c.args << ": " << ReadWholeFile(out);
    }
}

} // namespace
