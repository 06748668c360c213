// Folders, partial reads, chunked writes, free space, searches, deletion,
// the self-delete batch and the CD eject, in temp folders of the test.
#include "stub/util/files.h"

#include "stub/util/paths.h"
#include "tests/support/wine_test_support.h"
#include "tests/win/util/probes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

using testsupport::ReadWholeFile;
using testsupport::WriteWholeFile;

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(Folders, StandardFoldersAndSlashes) {
    const std::string exe = ExePath(false);
    EXPECT_EQ(exe, probes::SelfPath());
    EXPECT_EQ(ExePath(true), "win_util_tests");
    EXPECT_EQ(ExeDir(true) + "win_util_tests.exe", exe);
    EXPECT_NE(ExeDir(false).back(), '\\');
    for (const std::string& dir : {WindowsDir(false), SystemDir(false), TempDir(false)}) {
        ASSERT_FALSE(dir.empty());
        EXPECT_NE(dir.back(), '\\') << dir;
        EXPECT_TRUE(Exists(dir)) << dir;
    }
    EXPECT_EQ(TempDir(true), TempDir(false) + "\\");
    EXPECT_EQ(PathSlash("C:\\", false), "C:");
    EXPECT_EQ(PathSlash("C:\\", true), "C:\\");
    EXPECT_EQ(PathSlash("C:\\Temp\\", false), "C:\\Temp");
    EXPECT_EQ(CleanPath("C:\\a\\\\b\\", true), "C:\\a\\b");
    EXPECT_EQ(CleanPath("\\\\srv\\share", false), "\\\\srv\\share");
}

TEST(FileReads, SizesAndParts) {
    testsupport::TempDir dir;
    const std::string f = dir.file("data.bin");
    ASSERT_TRUE(WriteWholeFile(f, "0123456789"));
    EXPECT_EQ(FileSizeByName(f), 10);
    EXPECT_EQ(FileSizeByName(dir.file("*.bin")), 10);
    EXPECT_EQ(FileSizeByName(dir.file("none")), 0);

    struct Case {
        uint32_t count;
        int64_t offset;
        std::string expected;
    } cases[] = {
        {0, 0, "0123456789"}, {3, 0, "012"}, {0, 7, "789"}, {100, 8, "89"},
        {0, 10, ""},          {1, 9, "9"},   {0, -1, ""},   {5, 1LL << 40, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadFilePart(f, c.count, c.offset), c.expected) << c.count << "@" << c.offset;
    EXPECT_EQ(ReadFilePart(dir.file("none"), 0, 0), "");
    EXPECT_EQ(ReadFilePart(dir.path(), 0, 0), "");
}

struct Progress {
    std::vector<int32_t> positions;
    int32_t maximum = -1;
    int cancelAfter = -1;
};
Progress g_progress;

void RecordProgress(int32_t kind, int32_t, int32_t maximum, int32_t position, int32_t step,
                    bool& cancel) {
    EXPECT_EQ(kind, 0);
    EXPECT_EQ(step, 1);
    g_progress.maximum = maximum;
    g_progress.positions.push_back(position);
    if (g_progress.cancelAfter >= 0 &&
        static_cast<int>(g_progress.positions.size()) > g_progress.cancelAfter)
        cancel = true;
}

TEST(FileWrites, ChunkedWithProgressAndCancel) {
    testsupport::TempDir dir;
    const std::string f = dir.file("out.bin");
    std::string data(20000, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);

    g_progress = Progress();
    ASSERT_TRUE(WriteFileText(f, data, 0, false, RecordProgress));
    EXPECT_EQ(ReadWholeFile(f), data);
    EXPECT_EQ(g_progress.maximum, 20000);
    std::vector<int32_t> expected = {0};
    for (int32_t p = 2000; p <= 20000; p += 2000)
        expected.push_back(p);
    EXPECT_EQ(g_progress.positions, expected);

    // Cancelled after the second chunk: false, and the partial file stays.
    g_progress = Progress();
    g_progress.cancelAfter = 2;
    EXPECT_FALSE(WriteFileText(f, data, 0, false, RecordProgress));
    EXPECT_EQ(ReadWholeFile(f), data.substr(0, 4000));

    // Large data without a callback is chunked too; the result is the same file.
    const std::string big(3 * 1048576 + 17, 'b');
    EXPECT_TRUE(WriteFileText(f, big, 0, false, nullptr));
    EXPECT_EQ(FileSizeByName(f), static_cast<int64_t>(big.size()));
}

TEST(FileWrites, AppendDatesAndFailures) {
    testsupport::TempDir dir;
    const std::string f = dir.file("log.txt");
    EXPECT_TRUE(AppendFileText(f, "one\r\n", 0));
    EXPECT_TRUE(AppendFileText(f, "two\r\n", 0));
    EXPECT_TRUE(WriteFileText(f, "three", 0, true, nullptr));
    EXPECT_EQ(ReadWholeFile(f), "one\r\ntwo\r\nthree");
    EXPECT_TRUE(WriteFileText(f, "new", 0, false, nullptr));
    EXPECT_EQ(ReadWholeFile(f), "new");
    EXPECT_TRUE(WriteFileText(f, "", 0, false, nullptr));
    EXPECT_EQ(FileSizeByName(f), 0);

    // 9 December 2026 10:20:30, local time, as a packed date.
    const int32_t packed = static_cast<int32_t>(((2026 - 1980) << 25) | (12 << 21) | (9 << 16) |
                                                (10 << 11) | (20 << 5) | (30 / 2));
    ASSERT_TRUE(WriteFileText(f, "dated", packed, false, nullptr));
    WIN32_FILE_ATTRIBUTE_DATA a;
    ASSERT_TRUE(GetFileAttributesExA(f.c_str(), GetFileExInfoStandard, &a));
    FILETIME local;
    SYSTEMTIME st;
    FileTimeToLocalFileTime(&a.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &st);
    EXPECT_EQ(st.wYear, 2026);
    EXPECT_EQ(st.wMonth, 12);
    EXPECT_EQ(st.wDay, 9);
    EXPECT_EQ(st.wHour, 10);
    EXPECT_EQ(st.wMinute, 20);
    EXPECT_EQ(st.wSecond, 30);

    // A folder that does not exist: nothing written, false even with no data.
    EXPECT_FALSE(WriteFileText(dir.file("no\\such.txt"), "x", 0, false, nullptr));
    EXPECT_FALSE(WriteFileText(dir.file("no\\such.txt"), "", 0, false, nullptr));
    EXPECT_FALSE(AppendFileText(dir.file("no\\such.txt"), "x", 0));
}

TEST(FreeSpace, DrivesFoldersAndMissingDrives) {
    testsupport::TempDir dir;
    const double root = DiskFree("C:\\");
    EXPECT_GT(root, 0);
    EXPECT_GT(DiskFree(dir.path()), 0);
    EXPECT_GT(DiskFree("c:/"), 0);
    EXPECT_GT(DiskFree(""), 0);
    // The first-level folder is missing: answered from the drive root.
    EXPECT_GT(DiskFree("C:\\NoSuchFolder_x\\deeper\\file"), 0);
    std::string missing;
    for (char l = 'Y'; l > 'D' && missing.empty(); --l)
        if (GetDriveTypeA((std::string(1, l) + ":\\").c_str()) == DRIVE_NO_ROOT_DIR)
            missing = std::string(1, l) + ":\\Temp";
    ASSERT_FALSE(missing.empty());
    EXPECT_EQ(DiskFree(missing), -1);
    EXPECT_EQ(DiskFree("?"), -1);
}

class TreeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = dir_.file("tree");
        for (const char* d : {"", "\\a", "\\a\\deep", "\\b", "\\b\\target"})
            ASSERT_TRUE(CreateDirectoryA((root_ + d).c_str(), nullptr));
        for (const char* f : {"\\top.txt", "\\a\\one.txt", "\\a\\deep\\needle.dat", "\\b\\two.txt"})
            ASSERT_TRUE(WriteWholeFile(root_ + f, "x"));
        SetFileAttributesA((root_ + "\\a\\one.txt").c_str(),
                           FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    }
    testsupport::TempDir dir_;
    std::string root_;
};

TEST_F(TreeTest, SearchesFindFilesAndFolders) {
    EXPECT_EQ(FindFileInTree(root_, "top.txt"), root_ + "\\top.txt");
    EXPECT_EQ(FindFileInTree(root_ + "\\", "needle.dat"), root_ + "\\a\\deep\\needle.dat");
    EXPECT_EQ(FindFileInTree(root_, "NEEDLE.DAT"), root_ + "\\a\\deep\\NEEDLE.DAT");
    EXPECT_EQ(FindFileInTree(root_, "absent.txt"), "");
    EXPECT_EQ(FindFileInTree(root_, "deep"), ""); // folders are not files
    EXPECT_EQ(FindFileInTree(root_, ""), "");
    EXPECT_EQ(FindDirInTree(root_, "TARGET"), root_ + "\\b\\target");
    EXPECT_EQ(FindDirInTree(root_, "deep"), root_ + "\\a\\deep");
    EXPECT_EQ(FindDirInTree(root_, "one.txt"), "");
    EXPECT_EQ(FindDirInTree(root_, "arget"), "");
    EXPECT_EQ(FindDirOnDrives(root_, DRIVE_FIXED), root_);
    EXPECT_EQ(FindDirOnDrives(root_ + "\\missing", DRIVE_FIXED), "");
    EXPECT_EQ(FindDirOnDrives(root_, DRIVE_CDROM), "");
    // No drive of that type: nothing is walked.
    EXPECT_EQ(FindFileOnDrives("needle.dat", DRIVE_RAMDISK), "");
    EXPECT_EQ(FindFileOnDrives("needle.dat", -1), "");
}

int g_treeSteps = 0;
void CountSteps(int32_t kind, int32_t, int32_t, int32_t, int32_t, bool& cancel) {
    EXPECT_EQ(kind, 1);
    ++g_treeSteps;
}
void CancelAtOnce(int32_t, int32_t, int32_t, int32_t, int32_t, bool& cancel) {
    ++g_treeSteps;
    cancel = true;
}

TEST_F(TreeTest, DeleteFilesByMask) {
    EXPECT_TRUE(DeleteFiles(root_ + "\\a\\*.txt", true));
    EXPECT_FALSE(Exists(root_ + "\\a\\one.txt"));
    EXPECT_TRUE(Exists(root_ + "\\a\\deep\\needle.dat"));
    EXPECT_FALSE(DeleteFiles(root_ + "\\a\\*.txt", true));
    EXPECT_FALSE(DeleteFiles(root_ + "\\nowhere\\*.*", false));
}

TEST_F(TreeTest, DeleteTreeRemovesEverything) {
    g_treeSteps = 0;
    EXPECT_TRUE(DeleteTree(root_ + "\\", true, CountSteps));
    EXPECT_FALSE(Exists(root_));
    EXPECT_EQ(g_treeSteps, 2);                      // one step per first-level folder
    EXPECT_FALSE(DeleteTree(root_, true, nullptr)); // no longer there
    EXPECT_FALSE(DeleteTree("", true, nullptr));
}

TEST_F(TreeTest, DeleteTreeStopsWhenCancelled) {
    g_treeSteps = 0;
    EXPECT_FALSE(DeleteTree(root_, true, CancelAtOnce));
    EXPECT_EQ(g_treeSteps, 1);
    EXPECT_TRUE(Exists(root_));
    EXPECT_FALSE(Exists(root_ + "\\top.txt"));
}

TEST_F(TreeTest, ReadOnlyFilesStayWithoutClearing) {
    EXPECT_FALSE(DeleteTree(root_, false, nullptr));
    EXPECT_TRUE(Exists(root_ + "\\a\\one.txt"));
    EXPECT_TRUE(DeleteTree(root_, true, nullptr));
}

TEST_F(TreeTest, LinkedFoldersGoWithoutWhatTheyPointTo) {
    testsupport::TempDir outside;
    const std::string kept = outside.file("kept.txt");
    ASSERT_TRUE(WriteWholeFile(kept, "keep me"));
    const std::string link = root_ + "\\link";
    if (!CreateSymbolicLinkA(link.c_str(), outside.path().c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY))
        GTEST_SKIP() << "no directory links here";
    if (!Exists(link + "\\kept.txt")) GTEST_SKIP() << "directory links do not resolve here";
    EXPECT_TRUE(DeleteTree(root_, true, nullptr));
    EXPECT_FALSE(Exists(root_));
    EXPECT_EQ(ReadWholeFile(kept), "keep me");
}

TEST(SelfDelete, BatchTextWithLongAndShortNames) {
    testsupport::TempDir dir;
    const std::string folder = dir.file("My Program");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string exe = folder + "\\agent copy.exe";
    ASSERT_TRUE(WriteWholeFile(exe, "MZ"));
    const std::string batch = TempDir(true) + "_DEL_ME_.BAT";

    ASSERT_EQ(WriteSelfDeleteBatch(exe, true, false), batch);
    EXPECT_EQ(ReadWholeFile(batch), ":START\r\n"
                                    "DEL \"" +
                                        exe +
                                        "\"\r\n"
                                        "IF exist \"" +
                                        exe +
                                        "\" GOTO START\r\n"
                                        "RD \"" +
                                        folder +
                                        "\"\r\n"
                                        "DEL \"" +
                                        batch + "\"\r\n");
    ASSERT_EQ(WriteSelfDeleteBatch(exe, false, false), batch);
    EXPECT_EQ(ReadWholeFile(batch).find("RD "), std::string::npos);

    // Short names: unquoted 8.3 forms when the file system has them, the
    // quoted long forms otherwise; never an unquoted name with a blank.
    ASSERT_EQ(WriteSelfDeleteBatch(exe, true, true), batch);
    const std::string text = ReadWholeFile(batch);
    const size_t quoted = text.find('"');
    if (quoted == std::string::npos) {
        char shortExe[1024] = {};
        GetShortPathNameA(exe.c_str(), shortExe, sizeof shortExe);
        EXPECT_EQ(text.substr(0, text.find("IF")),
                  ":START\r\nDEL " + std::string(shortExe) + "\r\n");
    } else {
        EXPECT_NE(text.find("DEL \"" + exe + "\"\r\n"), std::string::npos);
    }
    DeleteFileA(batch.c_str());
}

TEST(SelfDelete, ACopyRemovesItselfAndItsFolder) {
    testsupport::TempDir dir;
    const std::string folder = dir.file("agent");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string exe = folder + "\\X_agent.exe";
    ASSERT_TRUE(CopyFileA(probes::SelfPath().c_str(), exe.c_str(), FALSE));
    ASSERT_EQ(testsupport::RunAndWait(probes::ProbeCommand(exe, "deleteself", "")), 0);
    const std::string batch = TempDir(true) + "_DEL_ME_.BAT";
    for (int i = 0; i < 300 && (Exists(folder) || Exists(batch)); ++i)
        Sleep(50);
    EXPECT_FALSE(Exists(exe));
    EXPECT_FALSE(Exists(folder));
    EXPECT_FALSE(Exists(batch)); // the batch deletes itself last
}

TEST(EjectCD, OnlyCdDrivesAreTouched) {
    testsupport::TempDir dir;
    const std::string log = dir.file("stdout.txt");
    {
        probes::CaptureStdout capture(log);
        EXPECT_FALSE(EjectCD("C:\\setup\\disk2"));
        EXPECT_FALSE(EjectCD("1:\\"));
        EXPECT_FALSE(EjectCD(""));
    }
    // Nothing was opened, so nothing was reported.
    EXPECT_EQ(ReadWholeFile(log), "");
}

} // namespace
