#include "core/vetter/fc/fc_config.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

using namespace fc;

namespace {

// Packed pointer fields are read by value: a reference to one may be misaligned.
template <class T> T Val(T v) {
    return v;
}

// The list as the plug-in keeps it, freed at the end of each test.
struct ConfigList {
    fc_config_file_entry** items = nullptr;
    size_t count = 0;
    ~ConfigList() {
        for (size_t i = 0; i < count; ++i) {
            fc_config_sub_record* s = items[i]->firstSub;
            while (s) {
                fc_config_sub_record* next = s->next;
                std::free(s);
                s = next;
            }
            std::free(items[i]);
        }
        std::free(items);
    }
};

const char* const kConfig =
    "# controllers\n"
    "Name|Kind|Vendor|Device|SubVendor|SubSystem|c6|c7|c8|c9|c10|c11|c12\n"
    "-----+-----\n"
    "|HBA one|fc|10DF|0xF100|10df|f100|six|seven|eight|nine|ten|eleven|twelve|"
    "t1|long text|t3|u1|u2\n"
    "|||\n"
    "\n"
    "  \t \n"
    "| \"HBA two\" |fc|1077|2532|1077|015C\r\n";

TEST(FcConfig, HeaderTextLineIsADataLineAndEndsTheProcess) {
    // A title line without "#" is read as data; its Vendor-Id is no number.
    ConfigList l;
    FcConfigOutcome o = ParseFcConfig(kConfig, &l.items, &l.count);
    EXPECT_TRUE(o.endProcess);
    EXPECT_EQ(o.exitCode, kExitBadHexValue);
    EXPECT_EQ(o.line, 2);
    EXPECT_EQ(o.message, "\nError line 2: Vendor-Id Vendor is not a valid hex value!\n");
    EXPECT_EQ(l.count, 1u);
}

TEST(FcConfig, RecordsFilledColumnByColumn) {
    std::string text = kConfig;
    text.erase(text.find("Name|"), text.find("-----+") - text.find("Name|"));
    ConfigList l;
    FcConfigOutcome o = ParseFcConfig(text, &l.items, &l.count);
    ASSERT_FALSE(o.endProcess) << o.message;
    EXPECT_EQ(o.result, kFcConfigOk);
    ASSERT_EQ(l.count, 2u);
    EXPECT_EQ(l.items[2], nullptr);

    const fc_config_file_entry& a = *l.items[0];
    EXPECT_STREQ(a.column0, "HBA one");
    EXPECT_STREQ(a.column1, "fc");
    EXPECT_STREQ(a.vendorIdText, "10DF");
    EXPECT_STREQ(a.deviceIdText, "0xF10"); // cut to its field
    EXPECT_EQ(a.vendorId, 0x10DF);
    EXPECT_EQ(a.deviceId, 0xF100); // from the whole column
    EXPECT_EQ(a.subSystemId, 0xF100);
    EXPECT_STREQ(a.column6, "six");
    EXPECT_STREQ(a.column9, "nine");
    EXPECT_STREQ(a.column11, "eleven");
    EXPECT_STREQ(a.column12, "twelve");
    ASSERT_NE(Val(a.firstSub), nullptr);
    EXPECT_STREQ(a.firstSub->first, "t1");
    EXPECT_STREQ(a.firstSub->second, "long text");
    EXPECT_STREQ(a.firstSub->third, "t3");
    ASSERT_NE(Val(a.firstSub->next), nullptr);
    EXPECT_STREQ(a.firstSub->next->first, "u1");
    EXPECT_STREQ(a.firstSub->next->second, "u2");
    EXPECT_EQ(Val(a.firstSub->next->next), nullptr);

    const fc_config_file_entry& b = *l.items[1];
    EXPECT_STREQ(b.column0, "HBA two");
    EXPECT_EQ(b.subSystemId, 0x015C); // the "\r\n" line end is no part of it
    EXPECT_EQ(Val(b.firstSub), nullptr);
    EXPECT_EQ(b.reserved, 0);
}

TEST(FcConfig, BadNumbersEndTheProcess) {
    struct Case {
        const char* line;
        int exitCode;
        const char* message;
    } cases[] = {
        {"a|b|   |1|2|3", kExitBadHexValue, ""},
        {"a|b|\t|1|2|3", kExitBadHexValue,
         "\nError line 1: Vendor-Id  is not a valid hex value!\n"},
        {"a|b|1|xyz|2|3", kExitBadHexValue,
         "\nError line 1: Device-Id xyz is not a valid hex value!\n"},
        {"a|b|1|2|-5|3", kExitBadHexValue,
         "\nError line 1: Sub-Vendor-Id -5 is not a valid hex value!\n"},
        {"a|b|1|2|3", kExitBadHexValue,
         "\nError line 1: Sub-System-Id  is not a valid hex value!\n"},
        {"a|b|1|2|3|100000000", kExitOutOfRange, ""},
    };
    for (const Case& c : cases) {
        ConfigList l;
        FcConfigOutcome o = ParseFcConfig(c.line, &l.items, &l.count);
        EXPECT_TRUE(o.endProcess) << c.line;
        EXPECT_EQ(o.exitCode, c.exitCode) << c.line;
        EXPECT_EQ(o.rangeError, c.exitCode == kExitOutOfRange) << c.line;
        if (*c.message) EXPECT_EQ(o.message, c.message) << c.line;
    }
}

TEST(FcConfig, SkippedLines) {
    for (const char* line : {"# x|1|2|3|4", "1|2|--+--|3", "||||", "", " \t ", "|\t|\"\"|"}) {
        EXPECT_TRUE(FcConfigColumns(line).empty()) << line;
        ConfigList l;
        FcConfigOutcome o = ParseFcConfig(line, &l.items, &l.count);
        EXPECT_FALSE(o.endProcess) << line;
        EXPECT_EQ(l.count, 0u) << line;
    }
}

int gAllowed = 0;
void* LimitedCalloc(size_t n, size_t size) {
    if (gAllowed-- <= 0) return nullptr;
    return std::calloc(n, size);
}

TEST(FcConfig, OutOfMemoryKeepsEarlierRecords) {
    const std::string two = "a|b|1|2|3|4|x|x|x|x|x|x|x|s1|s2|s3\nc|d|1|2|3|4\n";
    for (int allowed : {0, 1, 2}) {
        gAllowed = allowed;
        Allocation a;
        a.zeroed = LimitedCalloc;
        ConfigList l;
        FcConfigOutcome o = ParseFcConfig(two, &l.items, &l.count, a);
        EXPECT_EQ(o.result, kFcConfigNoMemory) << allowed;
        EXPECT_EQ(l.count, allowed == 0 ? 0u : 1u) << allowed;
    }
}

} // namespace
