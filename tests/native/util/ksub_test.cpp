#include "core/util/ksub.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

TEST(SubCount, CountsOnlyWellFormedListsUpToNul) {
    struct Case {
        std::string list;
        int count;
    } cases[] = {
        {"", 0},
        {"|", 0},
        {"||", 1},
        {"|a|b", 0},
        {"*a*b*", 2},
        {"|a||c|", 3},
        {"|a\0b|"s, 0},
        {"|a|\0x|"s, 1},
        {"\0\0"s, 0},
        {"\x01\x01"
         "A=1\x01",
         2},
        {"aa", 1},
        {"||JAN|FEB|", 3},
        {"x|a|y", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUB::Count(c.list), c.count) << "list of " << c.list.size() << " bytes";
}

TEST(SubGet, ItemsDefaultsAndFragments) {
    struct Case {
        std::string list;
        int index;
        std::string expected;
    } cases[] = {
        {"|a||c|", 1, "x"},     {"|a||c|", 2, "c"},    {"|a|b|", -1, "b"},
        {"|a|b|", 5, "x"},      {"|a|b|", -2, "x"},    {"||JAN|FEB|", 1, "JAN"},
        {"||JAN|FEB|", 0, "x"}, {"|a|b", 0, "a"},      {"|a|b", 1, "x"},
        {"|a|b", -1, "x"},      {"\0"s, 0, "x"},       {"\0a\0"s, 0, "x"},
        {"|a\0|b|"s, 1, "x"},   {"|a|\0b|"s, 0, "a"},  {"", 0, "x"},
        {"|", 0, "x"},          {"*a|b*c*", 0, "a|b"}, {"|\xFF\x80|", 0, "\xFF\x80"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUB::Get(c.list, c.index, "x"), c.expected) << c.list << " @" << c.index;
}

TEST(SubGet, Int64ItemsFallBackOnNonNumbers) {
    const std::string list =
        "|12| -7 |x||9223372036854775807|9223372036854775808|-9223372036854775808|";
    EXPECT_EQ(SUB::GetInt64(list, 0, 99), 12);
    EXPECT_EQ(SUB::GetInt64(list, 1, 99), -7);
    EXPECT_EQ(SUB::GetInt64(list, 2, 99), 99);
    EXPECT_EQ(SUB::GetInt64(list, 3, 99), 99);
    EXPECT_EQ(SUB::GetInt64(list, 4, 99), INT64_MAX);
    EXPECT_EQ(SUB::GetInt64(list, 5, 99), 99);
    EXPECT_EQ(SUB::GetInt64(list, 6, 99), INT64_MIN);
    EXPECT_EQ(SUB::GetInt64(list, 7, 99), 99);
}

TEST(SubIndexOf, ExactTrimmedAndPrefixMatches) {
    struct Case {
        std::string list, item;
        bool prefix;
        int expected;
    } cases[] = {
        {"|one|two|", " two ", false, 1},
        {"|one|two|", "tw", true, 1},
        {"|one|two|", "TWO", false, 1},
        {"|one|two|", "one", false, 0},
        {"|one|two|", "o", true, 0},
        {"|one|two|", "tw", false, -5},
        {"|one|two|", "three", false, -5},
        {"|one|two|", "", false, -5},
        {"", "one", false, -5},
        {"  |one|two|  ", "two", false, 1},
        {"|a||b|", " ", false, 1},
        {"|x|y|z|", "z", false, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUB::IndexOf(c.list, c.item, c.prefix, -5), c.expected)
            << c.list << " / " << c.item;
}

TEST(SubContains, TrimAndCaseFlags) {
    struct Case {
        std::string list, item;
        bool trim, ignoreCase, expected;
    } cases[] = {
        {"|a|B|", "b", false, true, true},    {"|a|B|", "b", false, false, false},
        {"|a|B|", " B ", true, false, true},  {"|a|B|", " B ", false, false, false},
        {"|a|B|", "", false, false, false},   {"", "a", false, false, false},
        {"|a|B|", "a|B", false, false, true}, {" |a| ", "a", true, false, true},
        {"|ab|", "a", false, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUB::Contains(c.list, c.item, c.trim, c.ignoreCase), c.expected)
            << c.list << " / " << c.item;
}

TEST(SubGetValue, KeysValuesAndNormalisation) {
    struct Case {
        std::string list, key, expected;
    } cases[] = {
        {"|Mode=Fast|", "mode", "Fast"},
        {"| A  = 1|", "A", " 1"},
        {"|A=|", "A", "<empty>"},
        {"|AB=1|", "A", "<missing>"},
        {"||", "A", "<missing>"},
        {"|A=1", "A", "<missing>"},
        {"|A=1|A=2|", "A", "1"},
        {"|k=a=b|", "k", "a=b"},
        {"|k=v|", "k=", "v"},
        {"|==x|", "=", "x"},
        {"|=v|", "", "v"},
        {"|  k = v|", "k", "<missing>"},
        {"|  k = v|", " k", " v"},
        {"|x=1 |y =  2|", "y", "  2"},
        {"|AFRIKAANS    = 54|ALBANIAN  = 28|", "albanian", " 28"},
        {"\x01\x01"
         "A=1\x01"
         "B=x y\x01",
         "b", "x y"},
        {"|a=1|b\0=2|"s, "b", "<missing>"},
        {"|a=1|b\0=2|"s, "b\0"s, "2"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUB::GetValue(c.list, c.key, "<missing>", "<empty>"), c.expected)
            << c.list << " / " << c.key;
}

TEST(SubPairs, KeysValuesSplitAndJoin) {
    EXPECT_EQ(SUB::Keys("|a=1|b|c=2=3|"), "|a||c|");
    EXPECT_EQ(SUB::Values("|a=1|b|c=2=3|"), "|1||2=3|");
    EXPECT_EQ(SUB::Keys("*a|x=1*b=2*"), "*a|x*b*");
    EXPECT_EQ(SUB::Keys(""), "");
    EXPECT_EQ(SUB::Keys("|a=1"), "");
    std::string keys, values;
    SUB::SplitPairs("|k=v|n=m|", keys, values);
    EXPECT_EQ(keys, "|k|n|");
    EXPECT_EQ(values, "|v|m|");

    EXPECT_EQ(SUB::JoinPairs("|a|b|", "|1|", false), "|a=1|b=|");
    EXPECT_EQ(SUB::JoinPairs("|a|b|||", "|1|||", false), "|a=1|b=|=|=|");
    EXPECT_EQ(SUB::JoinPairs("|a|b|||", "|1|||", true), "|a=1|b=|");
    EXPECT_EQ(SUB::JoinPairs("", "", false), "");
    EXPECT_EQ(SUB::JoinPairs("|k|", "|a|b|", false), "|k=a|=b|");
    EXPECT_EQ(SUB::JoinPairs("|k|", "*a|b*", false), "*k=a|b*");
}

TEST(SubDelete, RemovesOneItemOrLeavesTheList) {
    struct Case {
        std::string list;
        int index;
        std::string expected;
    } cases[] = {
        {"|a|b|c|", 1, "|a|c|"},    {"|a|b|c|", 0, "|b|c|"},
        {"|a|b|c|", 2, "|a|b|"},    {"|a|b|c|", 3, "|a|b|c|"},
        {"|a|b|c|", -1, "|a|b|c|"}, {"", 0, ""},
        {"|a|b", 0, "|a|b"},        {"||", 0, "|"},
        {"|a|\0x|"s, -1, "|a|"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUB::Delete(c.list, c.index), c.expected) << c.list << " @" << c.index;
}

TEST(SubPut, ExtendsReplacesAndRedelimits) {
    struct Case {
        std::string list;
        int index;
        std::string value, expected;
    } cases[] = {
        {"|a|b|", 4, "x", "|a|b|||x|"},
        {"|a|b|", 0, "x|y", "*x|y*b*"},
        {"|a|b|", 1, "x|*", "~a~x|*~"},
        {"|a|b|", 1, "", "|a||"},
        {"", 0, "v", "|v|"},
        {"", 2, "v", "|||v|"},
        {"*a*b*", 1, "c", "*a*c*"},
        {"*a*b*", 1, "|", "*a*|*"},
        {"|a|b", 0, "z", "|z|"},
        {"|a|b|", -1, "z", "|a|b|"},
        {"|a|b|", 0x7FFFFFFF, "z", "|a|b|"},
    };
    for (const Case& c : cases) {
        std::string out = SUB::Put(c.list, c.index, c.value);
        EXPECT_EQ(out, c.expected) << c.list << " @" << c.index;
        if (c.index >= 0 && out != c.list)
            EXPECT_EQ(SUB::Get(out, c.index, "<none>"), c.value.empty() ? "<none>" : c.value);
    }
}

TEST(SubBuild, FromArrayAddReverse) {
    EXPECT_EQ(SUB::FromArray({"a", "b"}, false), "|a|b|");
    EXPECT_EQ(SUB::FromArray({"a|b", "c"}, false), "*a|b*c*");
    EXPECT_EQ(SUB::FromArray({}, false), "");
    EXPECT_EQ(SUB::FromArray({""}, false), "||");
    EXPECT_EQ(SUB::FromArray({"a", "A", " a", "b"}, true), "|a|b|");

    EXPECT_EQ(SUB::Add("", {"x"}, false), "|x|");
    EXPECT_EQ(SUB::Add("", {"x", "X"}, true), "|x|");
    EXPECT_EQ(SUB::Add("|a|", {"b", "c"}, false), "|a|b|c|");
    EXPECT_EQ(SUB::Add("|a|", {}, false), "|a|");
    EXPECT_EQ(SUB::Add("|a|", {"b|c"}, false), "*a*b|c*");
    EXPECT_EQ(SUB::Add("*a*", {"b|c"}, false), "*a*b|c*");
    EXPECT_EQ(SUB::Add("|a|", {"A", "b"}, true), "|a|b|");

    EXPECT_EQ(SUB::Reverse("|a|b|c|"), "|c|b|a|");
    EXPECT_EQ(SUB::Reverse("||x|"), "|x||");
    EXPECT_EQ(SUB::Reverse(""), "");
    EXPECT_EQ(SUB::Reverse("|a"), "|");
}

TEST(SubUnique, FirstOccurrenceWinsAndEmptiesGo) {
    struct Case {
        std::string list, expected;
    } cases[] = {
        {"|a||A|b|a|", "|a|b|"},
        {"*x*X*y*", "*x*y*"},
        {"|a| a |b|", "|a|b|"},
        {"||", ""},
        {"", ""},
        {"|b|a|", "|b|a|"},
        {"*a|b*A|B*c*", "*a|b*c*"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUB::Unique(c.list), c.expected) << c.list;
}

TEST(SubTrimEmpty, EndsAndStarts) {
    struct Case {
        std::string list;
        bool fromEnd, fromStart;
        std::string expected;
    } cases[] = {
        {"|||a||b|||", true, false, "|||a||b|"},
        {"|||a||b|||", false, true, "|a||b|||"},
        {"|||a||b|||", true, true, "|a||b|"},
        {"||||", true, true, ""},
        {"|", false, false, ""},
        {"|a|", true, true, "|a|"},
        {"|a|b", true, true, "|a|b"},
        {"", true, true, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SUB::TrimEmpty(c.list, c.fromEnd, c.fromStart), c.expected) << c.list;
}

// Each row holds the first k candidates inside an item: the k-th candidate
// (or byte 0 once all ten are taken) becomes the delimiter.
TEST(SubRedelimit, PicksFirstUnusedCandidate) {
    std::string used;
    for (int k = 0; k <= 10; ++k) {
        std::string list = "\0x"s + used + "\0y\0"s;
        std::string out = SUB::Redelimit(list);
        char d = k < 10 ? SUB::kCandidates[k] : '\0';
        EXPECT_EQ(out, std::string(1, d) + "x" + used + d + "y" + d) << "k=" << k;
        if (k < 10) {
            EXPECT_EQ(SUB::Count(out), 2);
            EXPECT_EQ(SUB::Get(out, 0), "x" + used);
            used += SUB::kCandidates[k];
        }
    }
    EXPECT_EQ(SUB::Redelimit("|a|b|"), "|a|b|");
    EXPECT_EQ(SUB::Redelimit("/a/b|/"), "*a*b|*");
    EXPECT_EQ(SUB::Redelimit("|"), "");
    EXPECT_EQ(SUB::Redelimit("\0"s), "");
    EXPECT_EQ(SUB::Redelimit(""), "");
    EXPECT_EQ(SUB::SetDelimiter("|a|b|", '*'), "*a*b*");
    EXPECT_EQ(SUB::SetDelimiter("", '*'), "");
}

} // namespace
