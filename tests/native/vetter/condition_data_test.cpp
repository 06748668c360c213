#include "core/vetter/condition_data.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using vetter::GetQuotedArgument;
using vetter::TrimField;

TEST(GetQuotedArgument, Table) {
    struct Case {
        const char* data;
        const char* key;
        bool found;
        const char* value;
    } cases[] = {
        {"board=\"D1000,D2000\" chassis=\"CX100\"", "board", true, "D1000,D2000"},
        {"board=\"D1000,D2000\" chassis=\"CX100\"", "chassis", true, "CX100"},
        {"winminver=\"\"", "winminver", true, ""},
        {"chassis=", "chassis", false, ""},
        {"chassis=\"CX100", "chassis", false, ""},
        {"Chassis=\"CX100\"", "chassis", false, ""},              // case-sensitive key
        {"chassis board=\"D1\"", "chassis", true, "D1"},          // first quote after the key
        {"rivappname=\"A\" appname=\"B\"", "appname", true, "A"}, // plain substring
        {"", "board", false, ""},
    };
    for (const Case& c : cases) {
        char out[512];
        std::memset(out, 'x', sizeof out);
        out[511] = '\0';
        ASSERT_EQ(GetQuotedArgument(c.data, c.key, out), c.found) << c.data << " / " << c.key;
        if (c.found) EXPECT_STREQ(out, c.value) << c.data;
    }
}

TEST(GetQuotedArgument, MissingInputsAndLimits) {
    char out[8] = "keep";
    EXPECT_FALSE(GetQuotedArgument(nullptr, "a", out));
    EXPECT_FALSE(GetQuotedArgument("a=\"1\"", "a", nullptr));
    EXPECT_STREQ(out, "keep");
    // A closing quote beyond the 512-byte work buffer is not seen.
    std::string longValue = "k=\"" + std::string(511, 'v') + "\"";
    char big[600];
    EXPECT_FALSE(GetQuotedArgument(longValue.c_str(), "k", big, sizeof big));
    std::string fits = "k=\"" + std::string(510, 'v') + "\"";
    ASSERT_TRUE(GetQuotedArgument(fits.c_str(), "k", big, sizeof big));
    EXPECT_EQ(std::strlen(big), 510u);
    // The output is never written beyond its size.
    char small[5];
    ASSERT_TRUE(GetQuotedArgument("k=\"abcdefgh\"", "k", small, sizeof small));
    EXPECT_STREQ(small, "abcd");
}

TEST(TrimField, CleansInPlace) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"\"C:\\pkg\"", "C:\\pkg"},
        {"  a\tb\n  ", "a b"},
        {"plain", "plain"},
        {"\"\"\t\n", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        std::string buf = c.in;
        EXPECT_STREQ(TrimField(&buf[0]), c.out) << c.in;
    }
    EXPECT_EQ(TrimField(nullptr), nullptr);
}

} // namespace
