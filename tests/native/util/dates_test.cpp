#include "core/util/dates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

double Serial(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    DateTimeParts p;
    p.year = y;
    p.month = mo;
    p.day = d;
    p.hour = h;
    p.minute = mi;
    p.second = s;
    double serial = 0;
    EXPECT_TRUE(EncodeDateTime(p, serial)) << y << "-" << mo << "-" << d;
    return serial;
}

TEST(Dates, SerialsMatchTheCalendar) {
    struct Case {
        int y, m, d;
        double serial;
    } cases[] = {
        {1899, 12, 30, 0},   {1899, 12, 31, 1},       {1900, 1, 1, 2},
        {2000, 1, 1, 36526}, {2024, 2, 29, 45351},    {2026, 12, 9, 46365},
        {1, 1, 1, -693593},  {9999, 12, 31, 2958465}, {1899, 12, 29, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Serial(c.y, c.m, c.d), c.serial);
        DateTimeParts back;
        ASSERT_TRUE(DecodeDateTime(c.serial, back));
        EXPECT_EQ(back.year, c.y);
        EXPECT_EQ(back.month, c.m);
        EXPECT_EQ(back.day, c.d);
    }
}

TEST(Dates, RejectsImpossibleDatesAndValues) {
    DateTimeParts p;
    double serial = 0;
    struct Bad {
        int y, m, d, h;
    } bad[] = {{2023, 2, 29, 0}, {1900, 2, 29, 0}, {2024, 13, 1, 0}, {2024, 4, 31, 0},
               {0, 1, 1, 0},     {10000, 1, 1, 0}, {2024, 1, 1, 24}};
    for (const Bad& b : bad) {
        p.year = b.y;
        p.month = b.m;
        p.day = b.d;
        p.hour = b.h;
        EXPECT_FALSE(EncodeDateTime(p, serial)) << b.y << "-" << b.m << "-" << b.d;
    }
    EXPECT_EQ(DateText(NAN), "");
    EXPECT_EQ(DateText(INFINITY), "");
    EXPECT_EQ(DateText(1e9), "");
    EXPECT_EQ(TimeStamp(-1e9), "");
}

TEST(Dates, Texts) {
    double t = Serial(2026, 12, 9, 17, 5, 0);
    EXPECT_EQ(DateText(t), "09-DEC-2026");
    EXPECT_EQ(DateTimeText(" ", t), "09-DEC-2026 17:05:00");
    EXPECT_EQ(DateTimeText("_", Serial(2000, 1, 1, 0, 0, 59)), "01-JAN-2000_00:00:59");
    EXPECT_EQ(TimeStamp(t), "09/12/26 17:05:00");
    EXPECT_EQ(TimeStamp(t, '.', '-'), "09.12.26 17-05-00");
    EXPECT_EQ(DateText(Serial(5, 3, 1)), "01-MAR-0005");
    // Before the epoch the fraction is the time of day of the whole day.
    EXPECT_EQ(DateTimeText(" ", -1.25), "29-DEC-1899 06:00:00");
    // A value a hair before midnight rounds to the next day.
    EXPECT_EQ(DateTimeText(" ", Serial(2026, 12, 9) - 1e-10), "09-DEC-2026 00:00:00");
    EXPECT_EQ(DateTimeText(" ", Serial(2026, 12, 9) + 0.999999), "09-DEC-2026 23:59:59");
}

TEST(Dates, MinusOneMeansNow) {
    std::string before = DateTimeText(" ", NowSerial());
    std::string now = DateTimeText(" ", kNowTime);
    std::string after = DateTimeText(" ", NowSerial());
    EXPECT_TRUE(now == before || now == after) << now;
    EXPECT_EQ(now.size(), 20u);
    EXPECT_EQ(DateText(kNowTime).size(), 11u);
    EXPECT_GT(NowSerial(), Serial(2020, 1, 1));
}

} // namespace
