#include "core/vetter/fc/fc_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace fc;

namespace {

TEST(FcPrintWWN, EightBytesOrInvalid) {
    const uint8_t w[8] = {0x10, 0x00, 0x00, 0x00, 0xC9, 0x12, 0x34, 0x56};
    EXPECT_EQ(FormatWWN(w), "10:00:00:00:C9:12:34:56");
    const uint8_t ff[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(FormatWWN(ff), "FF:FF:FF:FF:FF:FF:FF:FF");
    EXPECT_EQ(FormatWWN(nullptr), "invalid");
}

TEST(FcString2Int, Table) {
    struct Case {
        const char* text;
        int base;
        int value;
        bool outOfRange;
        const char* after; // the text once trimmed in place
    } cases[] = {
        {" -1f", 16, -31, false, " -1f"},
        {"1g", 16, -1, false, "1g"},
        {"10DF\n", 16, 0x10DF, false, "10DF"},
        {"0x10df  \n ", 16, 0x10DF, false, "0x10df"},
        {"0x", 16, -1, false, "0x"},
        {"", 16, -1, false, ""},
        {"  \n", 16, -1, false, ""},
        {"-", 16, -1, false, "-"},
        {"- 5", 10, -1, false, "- 5"},
        {"--5", 10, -1, false, "--5"},
        {"+12", 10, 12, false, "+12"},
        {"12 34", 10, -1, false, "12 34"},
        {"FFFFFFFF", 16, -1, false, "FFFFFFFF"}, // the int result wraps
        {"7FFFFFFF", 16, 0x7FFFFFFF, false, "7FFFFFFF"},
        {"-80000000", 16, int(0x80000000u), false, "-80000000"},
        {"100000000", 16, -1, true, "100000000"},
        {"99999999999999999999zz", 10, -1, true, "99999999999999999999zz"},
        {"017", 0, 15, false, "017"},
        {"0x1A", 0, 26, false, "0x1A"},
        {"z", 36, 35, false, "z"},
        {"5", 1, -1, false, "5"},
        {"5", 37, -1, false, "5"},
        {"1\t", 10, -1, false, "1\t"}, // only line feeds and blanks are cut
    };
    for (const Case& c : cases) {
        std::vector<char> buf(c.text, c.text + std::string(c.text).size() + 1);
        String2IntResult r = String2Int(buf.data(), c.base);
        EXPECT_EQ(r.value, c.value) << c.text;
        EXPECT_EQ(r.outOfRange, c.outOfRange) << c.text;
        EXPECT_STREQ(buf.data(), c.after) << c.text;
    }
    EXPECT_EQ(String2Int(nullptr, 16).value, -1);
}

} // namespace
