#include "core/net/bytesrate.h"

#include <gtest/gtest.h>

using net::FormatAmount;
using net::TBytesRate;

namespace {

uint32_t g_now = 0;
uint32_t FakeTick() {
    return g_now;
}

class BytesRate : public ::testing::Test {
  protected:
    void SetUp() override { g_now = 100000; }
};

TEST(FormatAmountTest, OneDecimalAndThousands) {
    struct Case {
        uint32_t value, unit;
        const char* text;
    } cases[] = {
        {0, 1024, "0.0"},
        {1536, 1024, "1.5"},
        {2000000, 1024, "1,953.1"},
        {1264128, 1024, "1,234.5"},
        {12644966, 1024, "12,348.6"},
        {4294967295u, 1024, "4,194,304.0"},
        {4294967295u, 1, "4,294,967,295.0"},
        {104857600, 1048576, "100.0"},
        {999, 1000, "1.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatAmount(c.value, c.unit), c.text) << c.value << "/" << c.unit;
}

TEST_F(BytesRate, AmountTexts) {
    struct Case {
        bool kb, mb;
        uint32_t total, done;
        const char* text;
    } cases[] = {
        {false, false, 50, 50, "50/50 BytesArr"},
        {true, false, 2000000, 1024, "1.0/1,953.1 KB"},
        {false, true, 20971520, 10485760, "10.0/20.0 MB"},
        {true, true, 20971520, 0, "0.0/20.0 MB"}, // MB wins over KB
    };
    for (const Case& c : cases) {
        TBytesRate r(c.kb, c.mb, FakeTick);
        EXPECT_EQ(r.Text(c.total, c.done, 0), c.text);
    }
}

TEST_F(BytesRate, RateAppearsWithTheFifthSample) {
    TBytesRate r(false, false, FakeTick);
    for (int i = 1; i <= 4; ++i) {
        g_now += 100;
        EXPECT_EQ(r.Text(1000, uint32_t(i * 10), 10240), std::to_string(i * 10) + "/1000 BytesArr")
            << "sample " << i;
    }
    g_now += 100;
    // Four newest samples of 10240 bytes over the 400 ms the window spans.
    EXPECT_EQ(r.Text(1000, 50, 10240), "50/1000 BytesArr   -   100.00 KB/Sec");
    EXPECT_EQ(r.RateText, "100.00");
}

TEST_F(BytesRate, RateRefreshedAtMostEvery500Ms) {
    TBytesRate r(true, false, FakeTick);
    std::string first;
    for (int i = 0; i < 5; ++i) {
        g_now += 100;
        first = r.Rate(uint32_t(1024 * (i + 1)));
    }
    ASSERT_FALSE(first.empty());
    // Faster chunks now: the text stays until more than 500 ms have passed.
    std::vector<std::string> seen;
    for (int i = 0; i < 10; ++i) {
        g_now += 100;
        seen.push_back(r.Rate(40960));
    }
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(seen[size_t(i)], first) << "call " << i;
    EXPECT_NE(seen[5], first); // 600 ms after the last computation
    EXPECT_EQ(seen[5], "400.00");
    for (int i = 6; i < 10; ++i)
        EXPECT_EQ(seen[size_t(i)], seen[5]);
}

TEST_F(BytesRate, ZeroSpanRepeatsThePreviousText) {
    // Samples within one tick: the window spans 0 ms and no rate is divided out.
    TBytesRate r(false, false, FakeTick);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(r.Rate(4096), "") << "call " << i;
    g_now += 250;
    EXPECT_EQ(r.Rate(4096), "64.00"); // 16384 bytes within 250 ms
    // Later samples within the 500 ms keep the text, whatever they carry.
    g_now += 1;
    EXPECT_EQ(r.Rate(999999), "64.00");
}

TEST_F(BytesRate, NoRateWithinTheFirst500MsAfterStart) {
    // A fresh object has shown its text at tick 0.
    g_now = 0;
    TBytesRate r(false, false, FakeTick);
    for (int i = 0; i < 5; ++i) {
        g_now += 100; // the fifth sample at 500 ms: not more than 500
        EXPECT_EQ(r.Rate(100), "");
    }
    g_now += 1;
    EXPECT_FALSE(r.Rate(100).empty());
}

TEST_F(BytesRate, ResetStartsOver) {
    TBytesRate r(false, false, FakeTick);
    for (int i = 0; i < 5; ++i) {
        g_now += 100;
        r.Rate(100);
    }
    ASSERT_FALSE(r.RateText.empty());
    r.Reset();
    EXPECT_EQ(r.RateText, "");
    g_now += 100;
    EXPECT_EQ(r.Text(10, 1, 1), "1/10 BytesArr");
}

} // namespace
