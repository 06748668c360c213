#include "core/vetter/identity/board_id.h"
#include "core/vetter/identity/id_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace identity;

namespace {

TEST(IdentityBlank, ThirtyBlanksMissingThirtyOneNot) {
    struct Case {
        std::string text;
        bool blank, usable;
    } cases[] = {
        {"", true, false},
        {" ", true, false},
        {std::string(30, ' '), true, false},
        {std::string(31, ' '), false, true},
        {std::string(29, ' ') + "x", false, true},
        {"\t", false, true}, // only the blank byte counts
        {"A", false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsBlank(c.text.c_str()), c.blank) << c.text.size();
        EXPECT_EQ(IsUsableValue(c.text.c_str()), c.usable) << c.text.size();
    }
    EXPECT_FALSE(IsUsableValue(nullptr));
}

TEST(IdentityVirtualNames, CaseSensitivePrefixesAnd440BXForBoardsOnly) {
    struct Case {
        const char* text;
        bool board, chassis;
    } cases[] = {
        {"Virtual Machine", true, true},
        {"VMware Virtual Platform", true, true},
        {"VMware Virtual Platform 7", true, true},
        {"HVM domU", true, true},
        {"440BX Desktop Reference Platform", true, false},
        {"vmware virtual platform", false, false},
        {"Intel", false, false},
        {"A Virtual Machine", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsVirtualMachineName(c.text, true), c.board) << c.text;
        EXPECT_EQ(IsVirtualMachineName(c.text, false), c.chassis) << c.text;
    }
}

TEST(IdentityClean, QuotesTabsLineFeedsBecomeBlanksEndsTrimmed) {
    EXPECT_EQ(CleanField("  \"D1234\"\t\n"), "D1234");
    EXPECT_EQ(CleanField("a\tb"), "a b");
    EXPECT_EQ(CleanField("\r"), "\r"); // carriage returns are not cleaned
    EXPECT_EQ(CleanField(" \t \" "), "");

    char field[8] = {' ', 'a', 'b', 'c', 'd', 'e', 'f', 'g'}; // unterminated
    CleanFieldInPlace(field, sizeof(field));
    EXPECT_STREQ(field, "abcdef");
}

TEST(IdentityCopy, NeverBeyondTheBuffer) {
    char buf[8];
    std::memset(buf, '#', sizeof(buf));
    CopyBounded(buf, 4, "abcdef");
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(buf[4], '#');
    std::string big(600, 'x');
    char out[kOutputSize + 1];
    out[kOutputSize] = '!';
    CopyToOutput(out, big);
    EXPECT_EQ(std::strlen(out), kOutputSize - 1);
    EXPECT_EQ(out[kOutputSize], '!');
    CopyBounded(nullptr, 4, "x"); // no crash
}

TEST(IdentityBoard, DNumberRule) {
    struct Case {
        const char* info;
        BoardKind kind;
        const char* value;
        const char* registry;
    } cases[] = {
        {"ABC12-D1234-X1", BoardKind::DNumber, "D1234-X1", "D1234-X1 == ABC12-D1234-X1"},
        {"D1234-X1", BoardKind::DNumber, "D1234-X1", "D1234-X1"},
        {"S26361-D2949-A1", BoardKind::DNumber, "D2949-A1", "D2949-A1 == S26361-D2949-A1"},
        {"440BX Intel Platform", BoardKind::VirtualBoard, "440BX Intel Platform",
         "440BX Intel Platform"},
        // The D rule comes first, also for a virtual board name.
        {"440BX Desktop", BoardKind::DNumber, "Desktop", "Desktop == 440BX Desktop"},
        {"Virtual Machine", BoardKind::VirtualBoard, "Virtual Machine", "Virtual Machine"},
        {"Intel", BoardKind::Rejected, "", "Intel"},
        {"d1234", BoardKind::Rejected, "", "d1234"}, // only an upper-case D
    };
    for (const Case& c : cases) {
        BoardDerivation d = DeriveDNumber(c.info);
        EXPECT_EQ(d.kind, c.kind) << c.info;
        EXPECT_EQ(d.value, c.value) << c.info;
        EXPECT_EQ(SystemBoardRegistryText(d, c.info), c.registry) << c.info;
    }
}

TEST(IdentityBoard, RegistryTextReadsBack) {
    SystemBoardValue v = ParseSystemBoardRegistryText("D1234-X1 == ABC12-D1234-X1");
    EXPECT_EQ(v.out, "D1234-X1");
    EXPECT_EQ(v.sachnummer, "ABC12-D1234-X1");
    v = ParseSystemBoardRegistryText("D1234");
    EXPECT_EQ(v.out, "D1234");
    EXPECT_EQ(v.sachnummer, "D1234");
    v = ParseSystemBoardRegistryText("A==B==C");
    EXPECT_EQ(v.out, "A");
    EXPECT_EQ(v.sachnummer, "B==C");
    // Every text written reads back as the pair it was built from.
    for (const char* info : {"ABC12-D1234-X1", "D77", "xD"}) {
        BoardDerivation d = DeriveDNumber(info);
        SystemBoardValue back = ParseSystemBoardRegistryText(SystemBoardRegistryText(d, info));
        EXPECT_EQ(back.out, d.value);
        EXPECT_EQ(back.sachnummer, info);
    }
}

} // namespace
