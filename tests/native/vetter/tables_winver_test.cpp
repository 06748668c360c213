#include "core/vetter/tables.h"
#include "core/vetter/winver.h"

#include <gtest/gtest.h>

namespace {

using namespace vetter;

TEST(VetterTables, VersionAndNames) {
    EXPECT_EQ(DllVersionNumber(), 11105);
    EXPECT_STREQ(ConditionName(8), "Is Competing Application installed ?");
    EXPECT_STREQ(ExecutionName(1), "Create bx.arg File");
    EXPECT_EQ(ConditionName(9), nullptr);
    EXPECT_EQ(ConditionName(static_cast<unsigned>(-1)), nullptr);
    EXPECT_EQ(ExecutionName(6), nullptr);
    // The callers' buffers are sized by the longest names.
    size_t longestCondition = 0, longestExecution = 0;
    for (unsigned i = 0; i < kConditionCount; ++i)
        longestCondition = std::max(longestCondition, strlen(ConditionName(i)));
    for (unsigned i = 0; i < kExecutionCount; ++i)
        longestExecution = std::max(longestExecution, strlen(ExecutionName(i)));
    EXPECT_EQ(longestCondition, 36u);
    EXPECT_EQ(longestExecution, 25u);
}

TEST(WinVersion, ParseAndCompare) {
    struct Case {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"6.1.7601", "6.1", 1}, {"6.1", "6.1.0", 0},          {"6.3.9600", "6.2.9200", 1},
        {"10", "6.3.9600", 1},  {"6.2.9200", "6.2.9201", -1}, {"", "0.0.0", 0},
        {"x.1", "0", 0},        {"6.1.7601", "6.1.7601", 0},
    };
    for (const Case& c : cases) {
        int r = CompareWinVersion(ParseWinVersion(c.a), ParseWinVersion(c.b));
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
    }
}

TEST(WinVersion, ValidWindowsRule) {
    struct Case {
        const char* data;
        const char* system;
        bool valid;
        int asks; // how often the system version was needed
    } cases[] = {
        {"winminver=\"6.1\"", "6.1.7601", true, 1},
        {"winmaxver=\"6.2.9200\"", "6.3.9600", false, 1},
        {"winminver=\"6.2\" winmaxver=\"10.0\"", "6.1.7601", false, 1}, // maximum skipped
        {"winminver=\"6.1\" winmaxver=\"6.3.9600\"", "6.3.9600", true, 2},
        {"winminver=", "6.1.7601", false, 0},
        {"winminver=\"6.1\" winmaxver", "6.1.7601", false, 1}, // both named, max not quoted
        {"nothing", "6.1.7601", false, 0},
        {"", "6.1.7601", false, 0},
    };
    for (const Case& c : cases) {
        int asks = 0;
        SystemVersionFn system = [&] {
            ++asks;
            return ParseWinVersion(c.system);
        };
        EXPECT_EQ(IsValidWindowsRule(c.data, system), c.valid) << c.data;
        EXPECT_EQ(asks, c.asks) << c.data;
    }
    EXPECT_FALSE(IsValidWindowsRule(nullptr, [] { return WinVersion{}; }));
}

TEST(OsType, DecisionTable) {
    struct Case {
        unsigned arch;
        bool wow64;
        const char* env;
        OsType type;
    } cases[] = {
        {0, false, nullptr, OS_X86}, {9, false, nullptr, OS_X64},    {6, false, nullptr, OS_X64},
        {0, true, "AMD64", OS_X64},  {0, true, "IA64", OS_IA64_WOW}, {0, true, nullptr, OS_UNKNOWN},
        {0, true, "", OS_UNKNOWN},   {0, true, "ARM64", OS_X64},     {0, false, "AMD64", OS_X86},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecideOsType(c.arch, c.wow64, c.env), c.type) << c.arch << c.wow64;
}

TEST(OsType, CacheRetriesWhileUnknown) {
    OsTypeCache cache;
    int calls = 0;
    OsType next = OS_UNKNOWN;
    auto compute = [&] {
        ++calls;
        return next;
    };
    EXPECT_EQ(cache.Get(compute), OS_UNKNOWN);
    EXPECT_EQ(cache.Get(compute), OS_UNKNOWN);
    EXPECT_EQ(calls, 2);
    next = OS_X64;
    EXPECT_EQ(cache.Get(compute), OS_X64);
    next = OS_X86;
    EXPECT_EQ(cache.Get(compute), OS_X64); // kept once known
    EXPECT_EQ(calls, 3);
}

} // namespace
