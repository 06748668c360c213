#include "core/agent/check_rules.h"

#include "core/util/ksub.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using namespace agent;

TEST(CheckRules, ResultListIsByteExact) {
    EXPECT_EQ(std::string(kResultList),
              "|Error downloading .INFO file|Error reading .ORIGINAL file|Too early for retesting"
              "|New version is not higher then old version|\"Valid for version\" mismatch"
              "|Download file size error|OK|");
    EXPECT_EQ(SUB::Count(kResultList), 7);
    EXPECT_EQ(LevelText(4), "\"Valid for version\" mismatch");
    EXPECT_EQ(LevelText(6), "OK");
}

TEST(CheckRules, LadderStopsAtTheFirstFailedTest) {
    struct Case {
        bool downloaded;
        int32_t vOrig, vNew, stampUpd, stampBase;
        bool user, reAsk, valid, size;
        int level;
    } cases[] = {
        {false, 4, 5, 2, 1, false, false, true, true, 0},
        {true, 0, 5, 2, 1, false, false, true, true, 1},
        {true, -3, 5, 2, 1, false, false, true, true, 1},
        {true, 4, 5, 1, 1, false, false, true, true, 2}, // unchanged stamp
        {true, 4, 5, 1, 1, false, true, true, true, 6},  // re-ask due
        {true, 4, 5, 1, 1, true, false, true, true, 6},  // user-requested
        {true, 4, 4, 2, 1, false, false, true, true, 3},
        {true, 4, 3, 2, 1, false, false, true, true, 3},
        {true, 4, 5, 2, 1, false, false, false, true, 4},
        {true, 4, 5, 2, 1, false, false, true, false, 5},
        {true, 4, 5, 2, 1, false, false, true, true, 6},
    };
    for (const Case& c : cases) {
        int sizeAsked = 0;
        LadderFacts f;
        f.downloaded = c.downloaded;
        f.versionOriginal = c.vOrig;
        f.versionNew = c.vNew;
        f.stampUpdate = c.stampUpd;
        f.stampBase = c.stampBase;
        f.userRequested = c.user;
        f.reAskDue = [&] { return c.reAsk; };
        f.validForVersion = [&] { return c.valid; };
        f.sizeMatches = [&] {
            ++sizeAsked;
            return c.size;
        };
        EXPECT_EQ(LadderLevel(f), c.level) << "case level " << c.level;
        // The size test (network) only runs when the ladder reaches it.
        EXPECT_EQ(sizeAsked, c.level >= 5 ? 1 : 0);
    }
}

TEST(CheckRules, VersionListIsTextual) {
    struct Case {
        std::string list;
        int32_t version;
        bool valid;
    } cases[] = {
        {"", 4, true},      {"3,4,5", 4, true},  {"3, 4", 4, false},
        {"4", 4, true},     {"14,40", 4, false}, {"3,4,5", 6, false},
        {",,4,,", 4, true}, {"-1", -1, true},    {"04", 4, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidForVersionText(c.list, c.version), c.valid) << c.list;
}

TEST(CheckRules, SizeToleranceIsBelowAHundred) {
    struct Case {
        int64_t actual, expected;
        bool ok;
    } cases[] = {
        {1099, 1000, true},
        {901, 1000, true},
        {1100, 1000, false},
        {900, 1000, false},
        {-1, 0, true},
        {-1, 99, false},
        {-1, 98, true},
        {0, 0, true},
        {INT64_MIN, INT64_MAX, false},
        {INT64_MAX, INT64_MIN, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SizeWithinTolerance(c.actual, c.expected), c.ok) << c.actual << " " << c.expected;
}

TEST(CheckRules, ReAskNeedsAPositiveIntervalThatHasPassed) {
    EXPECT_TRUE(ReAskDueAt(1001, 100, 900));
    EXPECT_FALSE(ReAskDueAt(1000, 100, 900));
    EXPECT_FALSE(ReAskDueAt(5000, 0, 900));
    EXPECT_FALSE(ReAskDueAt(5000, -5, 900));
    // A huge interval means never, not a wrapped sum in the past.
    EXPECT_FALSE(ReAskDueAt(5000, INT64_MAX, 900));
}

TEST(CheckRules, ShotTimeStatus) {
    struct Case {
        bool probe, force, test;
        int64_t now, last, interval;
        int status;
    } cases[] = {
        {true, false, false, 1000, 0, 3600, 0},
        {true, false, false, 3600, 0, 3600, 1},
        {true, false, false, 3599, 0, 3600, 0},
        {true, false, false, 5, 0, 0, 2},       // single check of interval 0
        {true, false, false, 100, 0, -1, 0},    // never automatically
        {true, true, false, 100, 0, -1, 1},     // but a forced check runs
        {false, false, false, 99999, 0, 10, 0}, // probing off
        {false, true, false, 1, 0, 3600, 1},
        {true, false, true, 1005, 1000, 3600, 1}, // test mode: 5 seconds
        {true, false, true, 1004, 1000, 3600, 0},
        {true, false, true, 1005, 1000, 0, 2}, // the file's 0 still makes it single
        {true, false, true, 1005, 1000, -1, 0},
        {true, false, false, INT64_MAX - 1, 100, INT64_MAX, 0}, // saturated, not wrapped
        {true, false, false, 100, INT64_MIN, -2, 1},
    };
    for (const Case& c : cases) {
        ShotInputs in;
        in.probeEnabled = c.probe;
        in.forceCheck = c.force;
        in.testMode = c.test;
        in.now = c.now;
        in.last = c.last;
        in.interval = c.interval;
        EXPECT_EQ(ShotStatus(in), c.status) << c.now << " " << c.last << " " << c.interval;
    }
}

TEST(CheckRules, TestModeIsForTodayAndRefreshedEvery30Seconds) {
    EXPECT_TRUE(TestModeFor("1", "09-DEC-2026", "09-DEC-2026"));
    EXPECT_FALSE(TestModeFor("1", "08-DEC-2026", "09-DEC-2026"));
    EXPECT_FALSE(TestModeFor("1", "09-dec-2026", "09-DEC-2026"));
    EXPECT_FALSE(TestModeFor("yes", "09-DEC-2026", "09-DEC-2026"));
    EXPECT_FALSE(TestModeFor("1", "", ""));

    EXPECT_TRUE(TestModeReadDue(true, 10, 10));
    EXPECT_FALSE(TestModeReadDue(false, 30010, 10));
    EXPECT_TRUE(TestModeReadDue(false, 30011, 10));
    EXPECT_TRUE(TestModeReadDue(false, 40000, 0));
    // Near the wrap of the tick counter the sum wraps as well.
    EXPECT_TRUE(TestModeReadDue(false, 0xFFFFFF00u, 0xFFFFFE00u));
}

TEST(CheckRules, QuestionBeforeACheck) {
    EXPECT_EQ(CheckQuestionText("A PROG_NAME ", "B ", "C", "http://h/u", false, "Tool"),
              "A Tool B C");
    EXPECT_EQ(CheckQuestionText("A", "B", "C", "C:\\upd", false, "x"), "AC");
    EXPECT_EQ(CheckQuestionText("A", "B", "C", "u", false, "x"), "AC");
    EXPECT_EQ(CheckQuestionText("A", "B", "C", "\\\\srv\\u", true, "x"),
              std::string("ABC") + kTestModeNote);
    EXPECT_EQ(CheckQuestionText("prog_name", "", "", "", false, "x"), "prog_name");
}

TEST(CheckRules, DownloadFailureMessages) {
    EXPECT_EQ(DownloadFailureText(true, "C:\\u\\f.exe", "ab", "nf", "ud"), "ab");
    EXPECT_EQ(DownloadFailureText(false, "C:\\u\\f.exe", "ab", "nf", "ud"), "C:\\u\\f.exe<P><P>nf");
    EXPECT_EQ(DownloadFailureText(false, "\\\\srv\\f.exe", "ab", "nf", "ud"),
              "\\\\srv\\f.exe<P><P>nf");
    EXPECT_EQ(DownloadFailureText(false, "http://h/f.exe", "ab", "nf", "ud"),
              "http://h/f.exe<P><P>ud");
    EXPECT_STREQ(DownloadStatusText(1).def, "Downloading INFO File...");
    EXPECT_STREQ(DownloadStatusText(2).key, "s32");
    EXPECT_STREQ(DownloadStatusText(3).def, "Downloading INFORM File...");
}

TEST(CheckRules, NoticeTokenIsTheSecondField) {
    EXPECT_EQ(NoticeToken("x|tok|a|b|text|more"), "tok");
    EXPECT_EQ(NoticeToken("|tok"), "tok");
    EXPECT_EQ(NoticeToken("no separator"), "");
    EXPECT_EQ(NoticeToken("||"), "");
}

} // namespace
