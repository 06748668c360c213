#include "core/util/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

TEST(NumbersInt, DecimalOnlyWithDefault) {
    struct Case {
        std::string text;
        int64_t expected;
    } cases[] = {
        {"0", 0},
        {"30", 30},
        {" 54 ", 54},
        {"-5", -5},
        {"+7", 7},
        {"9223372036854775807", INT64_MAX},
        {"-9223372036854775808", INT64_MIN},
        {"9223372036854775808", -1},
        {"-9223372036854775809", -1},
        {"99999999999999999999999", -1},
        {"", -1},
        {"-", -1},
        {"1 2", -1},
        {"12abc", -1},
        {"0x10", -1},
        {"1.0", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextToInt64(c.text, -1), c.expected) << c.text;
}

TEST(NumbersPad, ZeroPadAndPadLeft) {
    EXPECT_EQ(ZeroPad("7", 3), "007");
    EXPECT_EQ(ZeroPad("12345", 3), "12345");
    EXPECT_EQ(ZeroPad("7", -3), "7");
    EXPECT_EQ(IntToZeroPad(9, 2), "09");
    EXPECT_EQ(IntToZeroPad(2026, 4), "2026");
    EXPECT_EQ(IntToZeroPad(-5, 4), "-005");
    struct Case {
        std::string text;
        int width;
        std::string expected;
    } cases[] = {
        {"12345678", -6, "12345."}, {"7", 5, "    7"},    {"123456", -6, "123456"},
        {"abc", -6, "   abc"},      {"abcd", -2, "abcd"}, {"abcd", 2, "abcd"},
        {"ab", -3, " ab"},          {"abcd", -3, "ab."},  {"", 3, "   "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PadLeft(c.text, c.width, ' '), c.expected) << c.text << " " << c.width;
    EXPECT_EQ(PadLeft("5", 3, '*'), "**5");
}

TEST(NumbersText, ThousandsAndZeros) {
    struct Case {
        std::string text, expected;
    } thousands[] = {
        {"1234567.89", "1,234,567.89"},
        {"123", "123"},
        {"1234", "1,234"},
        {"-1234", "-1,234"},
        {"-123", "-123"},
        {"123456", "123,456"},
        {"", ""},
        {".5", ".5"},
        {"1000000", "1,000,000"},
    };
    for (const Case& c : thousands)
        EXPECT_EQ(InsertThousands(c.text), c.expected) << c.text;
    struct Case zeros[] = {
        {"0012.500", "12.5"}, {"0.50", ".5"},   {"12.000", "12"}, {"0.00", "."},
        {"100", "100"},       {"100.0", "100"}, {"1,50", "1,50"}, {"-0.50", "-0.5"},
    };
    for (const Case& c : zeros)
        EXPECT_EQ(TrimZeros(c.text), c.expected) << c.text;
}

TEST(NumbersFloat, FixedNotation) {
    struct Case {
        double value;
        int decimals;
        bool trim;
        char separator;
        std::string expected;
    } cases[] = {
        {0, 2, true, '.', "0"},
        {1.5, 2, false, '.', "1.50"},
        {1234.5678, 2, false, '.', "1234.57"},
        {-0.001, 2, false, '.', "0.00"},
        {12.5, 3, true, '.', "12.5"},
        {3, 2, true, '.', "3"},
        {0.5, 2, true, '.', ".5"},
        {1.5, 2, false, ',', "1,50"},
        {1.5, 2, true, ',', "1,50"},
        {7, 0, false, '.', "7"},
        {2.5, -3, false, '.', "2"},
        {-1.25, 1, false, '.', "-1.2"},
        {NAN, 2, false, '.', "NAN"},
        {-INFINITY, 2, false, '.', "-INF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FloatToFixed(c.value, c.decimals, c.trim, c.separator), c.expected)
            << c.value << " " << c.decimals;
    EXPECT_EQ(FloatToFixed(1e300, 2, false).size(), 304u);
}

TEST(NumbersFloat, TextToFloatCommaRules) {
    struct Case {
        std::string text;
        double expected;
    } cases[] = {
        {"1,5", 1.5}, {"1,234.5", 1234.5}, {"2.5", 2.5}, {" 2.5 ", 2.5}, {"-3e2", -300},
        {"+4", 4},    {".5", 0.5},         {"5.", 5},    {"1,2,3", -1},  {"abc", -1},
        {"", -1},     {"inf", -1},         {"nan", -1},  {"1e999", -1},  {"1e", -1},
        {"--1", -1},  {"1.2.3", -1},       {"0x10", -1}, {"1 000", -1},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(TextToFloat(c.text, -1), c.expected) << c.text;
}

TEST(NumbersMisc, RandomBoolsAndPumpStep) {
    for (int i = 0; i < 50; ++i) {
        int r = RandomBetween(3, 5);
        EXPECT_GE(r, 3);
        EXPECT_LE(r, 5);
        int s = RandomBetween(5, 3);
        EXPECT_GE(s, 3);
        EXPECT_LE(s, 5);
    }
    EXPECT_EQ(RandomBetween(7, 7), 7);
    EXPECT_EQ(RandomText(-2, -2), "-2");
    EXPECT_EQ(BoolText(true), "TRUE");
    EXPECT_EQ(BoolText(false), "FALSE");
    EXPECT_EQ(BoolChar(true), '1');
    EXPECT_EQ(BoolChar(false), '0');
    EXPECT_EQ(WaitPumpingStep(0, 100), 10);
    EXPECT_EQ(WaitPumpingStep(0, 1000), 25);
    EXPECT_EQ(WaitPumpingStep(0, 5), 1);
    EXPECT_EQ(WaitPumpingStep(0, 0), 1);
    EXPECT_EQ(WaitPumpingStep(7, 1000), 7);
}

} // namespace
