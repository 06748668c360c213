#include "core/agent/descriptor_rules.h"

#include "core/util/dates.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace agent;

TEST(DescriptorRules, FileNamesBesideTheExecutable) {
    struct Case {
        std::string item, update, base;
    } cases[] = {
        {"product.setup.info", "C:\\App\\product.setup.info", "C:\\App\\product.original"},
        {"http://host/dir/product.info", "C:\\App\\product.info", "C:\\App\\product.original"},
        {"sub\\agent", "C:\\App\\agent", "C:\\App\\agent.original"},
        {"", "C:\\App\\", "C:\\App\\.original"},
    };
    for (const Case& c : cases) {
        DescriptorPaths p = DescriptorPathsFor("C:\\App\\", c.item);
        EXPECT_EQ(p.update, c.update) << c.item;
        EXPECT_EQ(p.base, c.base) << c.item;
    }
}

TEST(DescriptorRules, OnlyOneIsTrue) {
    for (const char* t : {"yes", "true", "TRUE", "01", " 1", "1 ", "2", "", "-1"})
        EXPECT_FALSE(FlagValue(t)) << t;
    EXPECT_TRUE(FlagValue("1"));
}

TEST(DescriptorRules, StringValuesEmptyGivesDefaultAndLengthIsBounded) {
    EXPECT_EQ(StringValue("", "Tahoma"), "Tahoma");
    EXPECT_EQ(StringValue("Arial", "Tahoma"), "Arial");
    EXPECT_EQ(StringValue(std::string(20000, 'x'), "d").size(), kMaxValueBytes);
}

TEST(DescriptorRules, SecondsAndTheirReadableCompanion) {
    DateTimeParts p;
    p.year = 2026;
    p.month = 12;
    p.day = 9;
    p.hour = 17;
    p.minute = 5;
    double serial = 0;
    ASSERT_TRUE(EncodeDateTime(p, serial));
    int64_t s = SecondsFromSerial(serial);
    EXPECT_EQ(s % 60, 0);
    EXPECT_EQ(SecondsCompanion(s), "09-DEC-2026 17:05:00");
    EXPECT_EQ(SecondsCompanion(0), "30-DEC-1899 00:00:00");
    EXPECT_EQ(SecondsFromSerial(1.0), 86400);
    // Out of the calendar: no companion text, no overflow.
    EXPECT_EQ(SecondsCompanion(INT64_MAX), "");
    EXPECT_EQ(SecondsFromSerial(1e300), 0);
}

TEST(Overrides, StartUnsetAndHandTheDecisionToTheFile) {
    Overrides o;
    EXPECT_EQ(o.MakeOverrideList(), "|255|255|255|255|255|255|255|255|");
    EXPECT_FALSE(o.ConfirmBeforeCheck());
    struct Case {
        int64_t set;
        bool fileFlag, expected;
    } cases[] = {
        {255, true, true}, {255, false, false}, {0, true, false},  {1, false, true},
        {2, true, false},  {256, true, false},  {511, true, true}, {257, false, true},
    };
    for (const Case& c : cases) {
        o.SetOverride(kRequestConfirmationBeforeInstall, c.set);
        EXPECT_EQ(o.Flag(kRequestConfirmationBeforeInstall, c.fileFlag), c.expected) << c.set;
    }
    o.SetOverride(kConfirmBeforeCheck, 2);
    EXPECT_FALSE(o.ConfirmBeforeCheck());
    o.SetOverride(kConfirmBeforeCheck, 1);
    EXPECT_TRUE(o.ConfirmBeforeCheck());
    o.SetOverride(8, 0); // outside the eight bytes: ignored
    o.SetOverride(-1, 0);
    EXPECT_EQ(o.MakeOverrideList(), "|1|255|1|255|255|255|255|255|");
}

TEST(Overrides, ApplyOverrideList) {
    struct Case {
        std::string list, expected;
    } cases[] = {
        {"|1||||||||", "|1|255|255|255|255|255|255|255|"},
        {"|1|", "|1|255|255|255|255|255|255|255|"},
        {"|0|1|0|1|0|1|0|1|", "|0|1|0|1|0|1|0|1|"},
        {"|x|1|-1|256|  7 |9999999999999999999|1|2|3|", "|255|1|255|0|7|255|1|2|"},
        {"", "|255|255|255|255|255|255|255|255|"},
        {"|1", "|255|255|255|255|255|255|255|255|"},
        {",0,0,", "|0|0|255|255|255|255|255|255|"},
    };
    for (const Case& c : cases) {
        Overrides o;
        o.ApplyOverrideList(c.list);
        EXPECT_EQ(o.MakeOverrideList(), c.expected) << c.list;
    }
}

TEST(Overrides, ListRoundTrips) {
    Overrides a;
    for (int i = 0; i < kOverrideCount; ++i)
        a.SetOverride(i, i * 37);
    Overrides b;
    b.ApplyOverrideList(a.MakeOverrideList());
    EXPECT_EQ(b.MakeOverrideList(), a.MakeOverrideList());
}

} // namespace
