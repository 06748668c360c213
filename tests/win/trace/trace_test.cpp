#include "stub/control/trace.h"
#include "tests/support/wine_test_support.h"

#include <gtest/gtest.h>

#include <regex>

using testsupport::ReadWholeFile;

namespace {

TEST(TraceLogPath, PrefixRuleIsCaseSensitive) {
    struct Case {
        const char* exe;
        const char* log;
    } cases[] = {
        {"C:\\Prog\\Agent.exe", "C:\\Prog\\X_Agent.log"},
        {"C:\\Prog\\X_Agent.exe", "C:\\Prog\\X_Agent.log"},
        {"C:\\Prog\\x_Agent.exe", "C:\\Prog\\X_x_Agent.log"},
        {"C:\\Prog\\X-Agent.exe", "C:\\Prog\\X_X-Agent.log"},
        {"C:\\Prog\\a.b.exe", "C:\\Prog\\X_a.b.log"},
        {"C:\\dot.dir\\noext", "C:\\dot.dir\\X_noext.log"},
        {"\\\\srv\\share\\X_.exe", "\\\\srv\\share\\X_.log"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TraceLogPathFor(c.exe), c.log) << c.exe;
}

TEST(TraceLogPath, LiesBesideTheRunningExecutable) {
    char exe[1024];
    DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
    ASSERT_GT(n, 0u);
    std::string path(exe, n);
    std::string folder = path.substr(0, path.rfind('\\') + 1);
    EXPECT_EQ(TraceLogPath(), folder + "X_win_trace_tests.log");
    EXPECT_EQ(&TraceLogPath(), &TraceLogPath()); // computed once
}

TEST(TraceLine, FormatsDateTimeThreadIndentAndMessage) {
    SYSTEMTIME t{};
    t.wYear = 2024;
    t.wMonth = 3;
    t.wDay = 7;
    t.wHour = 9;
    t.wMinute = 5;
    t.wSecond = 1;
    struct Case {
        DWORD thread;
        const char* indent;
        const char* date;
        const char* time;
        const char* line;
    } cases[] = {
        {7, "   ", "/", ":", "07/03/24 09:05:01     7   step\r\n"},
        {123456, " X ", ".", ":", "07.03.24 09:05:01 123456 X step\r\n"},
        {42, "", "-", ".", "07-03-24 09.05.01    42step\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatTraceLine(t, c.thread, c.indent, "step", c.date, c.time), c.line);
    t.wYear = 2000;
    t.wHour = 23;
    EXPECT_EQ(FormatTraceLine(t, 1, "", "", "/", ":"), "07/03/00 23:05:01     1\r\n");
}

class TraceFile : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteFileA(TraceLogPath().c_str());
        SetTraceIndent("   ");
    }
    void TearDown() override {
        SetTraceEnabled(false);
        SetTraceIndent("   ");
        DeleteFileA(TraceLogPath().c_str());
    }
};

TEST_F(TraceFile, DisabledTracingCreatesNoFile) {
    SetTraceEnabled(false);
    TraceLine("nothing");
    TraceLine(nullptr);
    EXPECT_EQ(GetFileAttributesA(TraceLogPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(TraceFile, EnabledTracingAppendsOneLinePerCall) {
    SetTraceEnabled(true);
    TraceLine("PerformAutoUpdate()");
    SetTraceIndent(" X ");
    TraceLine(std::string("second"));
    TraceLine(nullptr);
    std::string text = ReadWholeFile(TraceLogPath());
    std::string id = std::to_string(GetCurrentThreadId());
    std::string pad = id.size() < 5 ? std::string(5 - id.size(), ' ') : "";
    const std::string stamp = "\\d\\d\\D\\d\\d\\D\\d\\d \\d\\d\\D\\d\\d\\D\\d\\d ";
    std::regex expected(stamp + pad + id + "   PerformAutoUpdate\\(\\)\r\n" + stamp + pad + id +
                        " X second\r\n" + stamp + pad + id + " X \r\n");
    EXPECT_TRUE(std::regex_match(text, expected)) << text;
}

TEST_F(TraceFile, AppendsWhileAnotherProcessHoldsTheFileOpen) {
    SetTraceEnabled(true);
    TraceLine("one");
    // Another writer with sharing, as a second agent process would have it.
    HANDLE other =
        CreateFileA(TraceLogPath().c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    TraceLine("two");
    CloseHandle(other);
    std::string text = ReadWholeFile(TraceLogPath());
    EXPECT_NE(text.find("one\r\n"), std::string::npos);
    EXPECT_NE(text.find("two\r\n"), std::string::npos);
    EXPECT_LT(text.find("one"), text.find("two"));
}

TEST_F(TraceFile, UnwritableLogIsIgnored) {
    SetTraceEnabled(true);
    HANDLE locked =
        CreateFileA(TraceLogPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    TraceLine("dropped");
    CloseHandle(locked);
    EXPECT_EQ(ReadWholeFile(TraceLogPath()), "");
}

} // namespace
