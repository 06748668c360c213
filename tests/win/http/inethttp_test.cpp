#include "servers.h"

#include "stub/net/commutils.h"
#include "stub/net/inethttp.h"
#include "stub/net/progbar.h"
#include "tests/support/wine_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using httptest::PatternBytes;
using testsupport::ReadWholeFile;
using testsupport::TempDir;
using testsupport::WriteWholeFile;

namespace {

// Progress events of one download, in the order they came.
struct ProgressLog {
    int inits = 0;
    int32_t count = 0;
    int32_t position = 0;
    int steps = 0;
    std::string lastText;
    int abortAtStep = 0; // > 0: set the abort flag on that step
};
ProgressLog g_log;

void RecordProgress(int32_t kind, int32_t, int32_t maximum, int32_t position, int32_t,
                    const std::string& text) {
    if (kind == kProgressStart && maximum > 0) {
        ++g_log.inits;
        g_log.count = maximum;
        g_log.position = position;
    } else if (kind == kProgressStep) {
        ++g_log.steps;
        g_log.lastText = text;
        if (g_log.abortAtStep > 0 && g_log.steps == g_log.abortAtStep) SetDownloadAbort(true);
    }
}

struct Result {
    std::string memory;
    std::string error;
};

Result Download(const std::string& url, const std::string& target, TProgBar* bar = nullptr) {
    Result r;
    SetDownloadAbort(false);
    HTTP_DownloadFile_Incremental(nullptr, url, target, r.memory, bar, r.error);
    return r;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return names;
}

// Packed DOS date of the servers' Last-Modified, Tue, 05 Mar 2024 14:30:58.
constexpr uint32_t kServerStamp = 1483043805u;

} // namespace

TEST(InetHTTP, SmallFileIsReadOneBytePerCall) {
    REQUIRE_SERVERS(s);
    TempDir dir;
    const std::string target = dir.file("tiny.bin");
    g_log = ProgressLog();
    TProgBar bar(RecordProgress);
    const Result r = Download(s.http + "/tiny.bin", target, &bar);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.memory, "");
    EXPECT_TRUE(httptest::IsPattern(ReadWholeFile(target), 7));
    // chunk 1: Ceil(7 / 1) + 1 steps announced, one step per byte.
    EXPECT_EQ(g_log.inits, 1);
    EXPECT_EQ(g_log.count, 8);
    EXPECT_EQ(g_log.position, 1);
    EXPECT_EQ(g_log.steps, 7);
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"tiny.bin"}); // no temp file left
}

TEST(InetHTTP, HundredThousandBytesInChunksOf8192) {
    REQUIRE_SERVERS(s);
    TempDir dir;
    const std::string target = dir.file("k100.bin");
    g_log = ProgressLog();
    TProgBar bar(RecordProgress);
    const Result r = Download(s.http + "/k100.bin", target, &bar);
    EXPECT_EQ(r.error, "");
    EXPECT_TRUE(httptest::IsPattern(ReadWholeFile(target), 100000));
    EXPECT_EQ(g_log.count, 14);
    EXPECT_EQ(g_log.steps, 13); // 12 full chunks and the rest
    // Amounts in bytes up to 102400.
    EXPECT_EQ(g_log.lastText.rfind("100000/100000 BytesArr", 0), 0u) << g_log.lastText;
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"k100.bin"});
}

TEST(InetHTTP, MemoryDownloadAndSizeQuery) {
    REQUIRE_SERVERS(s);
    const Result r = Download(s.http + "/m2.bin", "");
    EXPECT_EQ(r.error, "");
    EXPECT_TRUE(httptest::IsPattern(r.memory, 2000000));
    EXPECT_EQ(HTTP_GetFileSize(s.http + "/k100.bin"), 100000);
    EXPECT_EQ(HTTP_GetFileSize(s.script + "/nolength/3000"), -1);
    EXPECT_EQ(HTTP_GetFileSize("http://127.0.0.1:1/nothing"), -1);
}

TEST(InetHTTP, NoContentLength) {
    REQUIRE_SERVERS(s);
    const std::string url = s.script + "/nolength/30000";
    const Result inMemory = Download(url, "");
    EXPECT_EQ(inMemory.error, "");
    EXPECT_TRUE(httptest::IsPattern(inMemory.memory, 30000));

    // The body reaches the temporary file, but the size test (against
    // 4294967295) never passes: the target stays as it was, no error is set.
    TempDir dir;
    const std::string target = dir.file("Setup.exe");
    ASSERT_TRUE(WriteWholeFile(target, "old"));
    const Result toFile = Download(url, target);
    EXPECT_EQ(toFile.error, "");
    EXPECT_EQ(ReadWholeFile(target), "old");
    const std::string temp = target + "." + std::to_string(0xFFFFFFFFu + kServerStamp);
    EXPECT_TRUE(httptest::IsPattern(ReadWholeFile(temp), 30000));
}

TEST(InetHTTP, ErrorPageWithLengthIsStoredAndRecognised) {
    REQUIRE_SERVERS(s);
    TempDir dir;
    const std::string target = dir.file("Setup.exe");
    const std::string url = s.script + "/404/Setup.exe";
    const Result r = Download(url, target);
    EXPECT_EQ(r.error, ""); // the status is not examined
    const std::string page = ReadWholeFile(target);
    EXPECT_NE(page.find("404 Not Found"), std::string::npos);
    EXPECT_TRUE(IsErrorPage(target, ""));
    EXPECT_TRUE(IsErrorPage("", page));
    std::string message;
    ErrorPageMessage(target, "", url, "default", message);
    EXPECT_EQ(message, "<B>404 File Not Found...</B><P><P>URL:  " + url +
                           ".<P><P>Please make sure the file is available and access is allowed "
                           "to this file.");

    const Result portal = Download(s.script + "/html/Setup.exe", "");
    EXPECT_EQ(portal.error, "");
    EXPECT_TRUE(IsErrorPage("", portal.memory));

    // A real package is no page; a file that exists wins over the text.
    const std::string package = dir.file("k100.bin");
    ASSERT_EQ(Download(s.http + "/k100.bin", package).error, "");
    EXPECT_FALSE(IsErrorPage(package, page));
    ErrorPageMessage(package, page, url, "default", message);
    EXPECT_EQ(message, "default");
    // A file that does not exist: the text is tested.
    EXPECT_TRUE(IsErrorPage(dir.file("none.htm"), page));
}

TEST(InetHTTP, SchemeIsAddedWhenMissing) {
    REQUIRE_SERVERS(s);
    const std::string bare = s.http.substr(std::string("http://").size()) + "/tiny.bin";
    const Result r = Download(bare, "");
    EXPECT_EQ(r.error, "");
    EXPECT_TRUE(httptest::IsPattern(r.memory, 7));
    const Result upper = Download("HTTP://" + bare, "");
    EXPECT_EQ(upper.error, "");
    EXPECT_TRUE(httptest::IsPattern(upper.memory, 7));
}

TEST(InetHTTP, SecondDownloadDeletesWhatTheFirstLeft) {
    REQUIRE_SERVERS(s);
    TempDir dir;
    const std::string target = dir.file("k100.bin");
    // A cut transfer leaves its partial temporary file.
    const Result cut = Download(s.script + "/cut/100000/40000", target);
    EXPECT_NE(cut.error, "");
    const std::string partial = target + "." + std::to_string(100000u + kServerStamp);
    EXPECT_TRUE(Exists(partial));
    ASSERT_TRUE(WriteWholeFile(target + ".old", "x"));
    ASSERT_TRUE(WriteWholeFile(dir.file("k100.binx"), "keep")); // not target + "."

    const Result second = Download(s.http + "/k100.bin", target);
    EXPECT_EQ(second.error, "");
    EXPECT_TRUE(httptest::IsPattern(ReadWholeFile(target), 100000));
    EXPECT_FALSE(Exists(partial));
    EXPECT_FALSE(Exists(target + ".old"));
    EXPECT_TRUE(Exists(dir.file("k100.binx")));
}

TEST(InetHTTP, CutConnectionLeavesTheTargetAndReportsIt) {
    REQUIRE_SERVERS(s);
    TempDir dir;
    const std::string target = dir.file("Setup.exe");
    ASSERT_TRUE(WriteWholeFile(target, "old"));
    const Result toFile = Download(s.script + "/cut/100000/40000", target);
    EXPECT_EQ(ReadWholeFile(target), "old");
    EXPECT_EQ(toFile.error.rfind("40000 --- Error downloading file", 0), 0u) << toFile.error;

    const Result inMemory = Download(s.script + "/cut/100000/40000", "");
    EXPECT_NE(inMemory.error, "") << "a short body must not pass as a complete download";
}

// The main window's close handler sets the flag while the download loop
// dispatches messages; a timer stands in for the close.
TEST(InetHTTP, AbortEndsAfterTheCurrentChunk) {
    REQUIRE_SERVERS(s);
    TempDir dir;
    const std::string target = dir.file("Setup.exe");
    ASSERT_TRUE(WriteWholeFile(target, "old"));
    g_log = ProgressLog();
    static int stepsAtAbort = -1;
    stepsAtAbort = -1;
    const UINT_PTR timer = SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR, DWORD) {
        if (stepsAtAbort < 0) stepsAtAbort = g_log.steps;
        SetDownloadAbort(true);
    });
    ASSERT_NE(timer, 0u);
    TProgBar bar(RecordProgress);
    const DWORD start = GetTickCount();
    // 200000 bytes in 1024-byte pieces every 20 ms: about 4 s without abort.
    Result r;
    HTTP_DownloadFile_Incremental(nullptr, s.script + "/slow/200000/20", target, r.memory, &bar,
                                  r.error);
    const DWORD took = GetTickCount() - start;
    KillTimer(nullptr, timer);
    SetDownloadAbort(false);
    EXPECT_EQ(r.error, "Download Aborted");
    EXPECT_LT(took, 2500u);
    ASSERT_GE(stepsAtAbort, 0);
    EXPECT_LE(g_log.steps - stepsAtAbort, 1); // at most the chunk being read
    EXPECT_EQ(ReadWholeFile(target), "old");
}

TEST(InetHTTP, FailuresAndTheirTexts) {
    REQUIRE_SERVERS(s);
    TempDir dir;
    const std::string target = dir.file("Setup.exe");
    ASSERT_TRUE(WriteWholeFile(target, "old"));
    const std::string zero = s.script + "/zero";
    EXPECT_EQ(Download(zero, target).error, zero + " --- File Not Found !");
    const std::string refused = "http://127.0.0.1:1/Setup.exe";
    EXPECT_EQ(Download(refused, target).error, "Unable to open Internet Connection: " + refused);
    EXPECT_EQ(ReadWholeFile(target), "old");
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"Setup.exe"});
}

TEST(InetHTTP, ReleaseWinInetThenUseAgain) {
    REQUIRE_SERVERS(s);
    ASSERT_TRUE(httptest::IsPattern(Download(s.http + "/tiny.bin", "").memory, 7));
    ReleaseWinInet();
    EXPECT_TRUE(httptest::IsPattern(Download(s.http + "/tiny.bin", "").memory, 7));
    std::string reason = "unchanged";
    const bool connected = CheckInternetConnection(reason);
    EXPECT_EQ(connected, IsInternetConnected());
    if (connected) EXPECT_EQ(reason, "");
    ReleaseWinInet();
}
