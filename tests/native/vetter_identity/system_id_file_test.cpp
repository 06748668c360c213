#include "core/vetter/identity/system_id_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace identity;

namespace {

struct Cols {
    std::string c0, c1, c2, c3, c4;
};

Cols ColsOf(const system_id_file_entry& e) {
    return {FieldText(e.dNumber, 20), FieldText(e.nativeChassisId, 20), FieldText(e.abstractId, 20),
            FieldText(e.nativeModelId, 40), FieldText(e.isBlade, 10)};
}

// The shipped file's shape: comments, title, ruler, data lines.
const char* const kShippedShape =
    "# System IDs to abstract IDs\r\n"
    "# columns: D-Number | native Chassis-ID | Abstract-ID | native Model-ID | is-blade?\r\n"
    "| D-Number | native Chassis-ID | Abstract-ID | native Model-ID | is-blade? |\r\n"
    "|----------+-------------------+-------------+-----------------+-----------|\r\n"
    "| D1234    | CX1               | CXB         | Other Model     | no        |\r\n"
    "| D1234    | CX1               | CXA         |\t\t| yes |\r\n"
    "| D3000    |\t\t| ' ZR 1 '     |\t\t| yes |\r\n";

TEST(SystemIdLines, LineRules) {
    struct Case {
        const char* line;
        bool entry;
        Cols cols;
    } cases[] = {
        {"# a comment | D1 | X", false, {}},
        {"D1#", false, {}},
        {"|||", false, {}},
        {"", true, {}},
        {"   ", true, {}},
        {"|----+----|", true, {"----+----", "", "", "", ""}},
        {"D1234|CX1|CXA|  |yes", true, {"D1234", "CX1", "CXA", "", "yes"}},
        {"||D1||CX1|", true, {"D1", "CX1", "", "", ""}},
        {"|\"D1\"\t|'  padded '| x'y'z |it's|'", true, {"D1", "  padded ", "y", "s", ""}},
        {"a|b|c|d|e|f|g", true, {"a", "b", "c", "d", "e"}},
    };
    for (const Case& c : cases) {
        system_id_file_entry e;
        ASSERT_EQ(ParseSystemIdLine(c.line, &e), c.entry) << c.line;
        if (!c.entry) continue;
        Cols got = ColsOf(e);
        EXPECT_EQ(got.c0, c.cols.c0) << c.line;
        EXPECT_EQ(got.c1, c.cols.c1) << c.line;
        EXPECT_EQ(got.c2, c.cols.c2) << c.line;
        EXPECT_EQ(got.c3, c.cols.c3) << c.line;
        EXPECT_EQ(got.c4, c.cols.c4) << c.line;
    }
}

TEST(SystemIdLines, ColumnsCutToTheirFieldsAndLongLinesReadWhole) {
    std::string line = std::string(25, 'D') + "|" + std::string(30, 'C') + "|" +
                       std::string(30, 'A') + "|" + std::string(50, 'M') + "|" +
                       std::string(20, 'y');
    line += "|" + std::string(2000, 'z'); // beyond 1023 characters
    system_id_file_entry e;
    ASSERT_TRUE(ParseSystemIdLine(line, &e));
    Cols got = ColsOf(e);
    EXPECT_EQ(got.c0, std::string(19, 'D'));
    EXPECT_EQ(got.c1, std::string(19, 'C'));
    EXPECT_EQ(got.c2, std::string(19, 'A'));
    EXPECT_EQ(got.c3, std::string(39, 'M'));
    EXPECT_EQ(got.c4, std::string(9, 'y'));
    EXPECT_EQ(e.isBlade[9], '\0');

    std::vector<system_id_file_entry> all =
        ParseSystemIdFile(std::string(3000, 'x') + "|X\nD1|C\n");
    EXPECT_EQ(all.size(), 2u); // one entry per line, however long
}

TEST(SystemIdLines, TextModeLineEnds) {
    EXPECT_EQ(SplitTextLines("a\r\nb\n\nc"), (std::vector<std::string>{"a", "b", "", "c"}));
    EXPECT_EQ(SplitTextLines("a\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitTextLines("a\rb"), (std::vector<std::string>{"a\rb"}));
    EXPECT_TRUE(SplitTextLines("").empty());
}

TEST(SystemIdFile, ShippedShapeTitleAndRulerBecomeEntries) {
    std::vector<system_id_file_entry> e = ParseSystemIdFile(kShippedShape);
    ASSERT_EQ(e.size(), 5u);
    EXPECT_EQ(ColsOf(e[0]).c0, "D-Number");
    EXPECT_EQ(ColsOf(e[1]).c0, "----------+--------"); // cut to its 19 characters
    EXPECT_EQ(ColsOf(e[4]).c2, " ZR 1 ");
    EXPECT_EQ(ColsOf(e[4]).c1, "");
}

TEST(SystemIdMapping, FirstMatchWithAbstractIdWins) {
    std::vector<system_id_file_entry> e = ParseSystemIdFile(kShippedShape);
    std::vector<const system_id_file_entry*> p = EntryPointers(e);
    int modelAsked = 0;
    ModelNameQuery model = [&](std::string* m) {
        ++modelAsked;
        *m = "RX300";
        return true;
    };
    struct Case {
        const char* dnum;
        const char* chassis;
        const char* expected;
    } cases[] = {
        {"D1234-X1", "CX1-S2", "CXA"},     // the model line before does not match
        {"D1234-X1", "CY9", "CY9"},        // chassis prefix fails: unmapped
        {"D3000-A", "anything", " ZR 1 "}, // empty column 1 matches any chassis
        {"D9", "CX1", "CX1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MapAbstractChassis(p.data(), p.size(), c.dnum, c.chassis, model), c.expected)
            << c.dnum;
    }
    EXPECT_GT(modelAsked, 0);

    modelAsked = 0;
    ModelNameQuery other = [&](std::string* m) {
        ++modelAsked;
        *m = "Other Model";
        return true;
    };
    EXPECT_EQ(MapAbstractChassis(p.data(), p.size(), "D1234", "CX1", other), "CXB");
    EXPECT_EQ(modelAsked, 1);
    // A model name that cannot be read makes model lines fail.
    ModelNameQuery none = [](std::string*) { return false; };
    EXPECT_EQ(MapAbstractChassis(p.data(), p.size(), "D1234", "CX1", none), "CXA");
}

TEST(SystemIdMapping, EmptyLineMatchesEverythingButNeverEndsTheWalk) {
    std::vector<system_id_file_entry> e = ParseSystemIdFile("\nD5|C|ABS\n");
    ASSERT_EQ(e.size(), 2u);
    std::vector<const system_id_file_entry*> p = EntryPointers(e);
    EXPECT_EQ(MapAbstractChassis(p.data(), p.size(), "D5", "C1", nullptr), "ABS");
    EXPECT_EQ(MapAbstractChassis(p.data(), p.size(), "D6", "C1", nullptr), "C1");
    // The empty line is also the first entry that prefixes every D-number.
    EXPECT_FALSE(IsBladeByEntries(p.data(), p.size(), "D5"));
}

TEST(SystemIdBlade, FirstPrefixingEntryDecides) {
    std::vector<system_id_file_entry> e =
        ParseSystemIdFile("D77|X|A|\t|no\nD77|Y|B|\t|yes\nD88|\t|\t|\t| yes\n"
                          "D99|\t|\t|\t|Yes\nD66|\t|\t|\t|yesno\n");
    std::vector<const system_id_file_entry*> p = EntryPointers(e);
    struct Case {
        const char* dnum;
        bool blade;
    } cases[] = {{"D77-1", false}, {"D88", true}, {"D99", false}, {"D66", true}, {"D1", false}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsBladeByEntries(p.data(), p.size(), c.dnum), c.blade) << c.dnum;
    }
    // A list walk stops at its terminating null.
    p.push_back(nullptr);
    EXPECT_FALSE(IsBladeByEntries(p.data(), 100, "D1"));
}

} // namespace
