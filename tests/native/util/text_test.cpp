#include "core/util/text.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

namespace {

TEST(TextCase, OnlyAsciiLettersFold) {
    EXPECT_EQ(UpperCase("abz{}AZ\xE9\xFF"
                        "1"),
              "ABZ{}AZ\xE9\xFF"
              "1");
    EXPECT_TRUE(SameText("Mode", "mODE"));
    EXPECT_FALSE(SameText("\xE9", "\xC9"));
    EXPECT_FALSE(SameText("ab", "abc"));
}

TEST(TextTrim, BytesUpToSpaceGoHighBytesStay) {
    EXPECT_EQ(Trim(" \t\r\n\x01x y\x1F "), "x y");
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");
    EXPECT_EQ(Trim("\0a\0"s), "a");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(TrimLeft("  a  "), "a  ");
    EXPECT_EQ(TrimRight("  a  "), "  a");
    EXPECT_TRUE(SameTextTrim("  Yes ", "yES"));
    EXPECT_FALSE(SameTextTrim("yes", "y es"));
}

TEST(TextReplace, OnePassLeftToRight) {
    struct Case {
        std::string text, oldText, newText, expected;
        bool ignoreCase;
    } cases[] = {
        {"aaa", "aa", "b", "ba", false},    {"abcABC", "abc", "x", "xABC", false},
        {"abcABC", "abc", "x", "xx", true}, {"a.b", "", "x", "a.b", false},
        {"a.b", "", "x", "a.b", true},      {"", "a", "b", "", true},
        {"xx", "x", "xx", "xxxx", false},   {"a\0b\0"s, "\0"s, "|", "a|b|", false},
    };
    for (const Case& c : cases) {
        std::string out = c.ignoreCase ? ReplaceTextNoCase(c.text, c.oldText, c.newText)
                                       : ReplaceText(c.text, c.oldText, c.newText);
        EXPECT_EQ(out, c.expected) << c.text << " " << c.oldText;
    }
}

TEST(TextReplace, OccurrenceRange) {
    // Occurrences are counted 1, 2, 3 ... and only first..last are replaced.
    EXPECT_EQ(ReplaceOccurrences("a.a.a.a", ".", "-", 2, 3, false), "a.a-a-a");
    EXPECT_EQ(ReplaceOccurrences("a.a.a.a", ".", "-", 2, 0, false), "a.a-a.a");
    EXPECT_EQ(ReplaceOccurrences("a.a.a.a", ".", "-", 0, 0, false), "a-a-a-a");
    EXPECT_EQ(ReplaceOccurrences("a.a.a.a", ".", "-", 5, 9, false), "a.a.a.a");
    // A kept occurrence is passed by one byte, so overlapping ones count too.
    EXPECT_EQ(ReplaceOccurrences("aaaa", "aa", "X", 2, 2, false), "aXa");
}

TEST(TextReplace, RepeatedUntilGone) {
    EXPECT_EQ(ReplaceRepeated("A  =1", " =", "="), "A=1");
    EXPECT_EQ(ReplaceRepeated("A  =1", " =", "x =y"), "A  =1");
    EXPECT_EQ(ReplaceRepeated("aaab", "ab", "b"), "b");
    EXPECT_EQ(ReplaceRepeated("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceRepeated("nothing", "zz", "z"), "nothing");
    // A rewrite that keeps recreating the pattern stops at a size bound.
    std::string grown = ReplaceRepeated("aab", "ab", "bbaa");
    EXPECT_GT(grown.size(), 4096u);
    EXPECT_LE(grown.size(), 3 * 4 + 4096 + 4u);
}

TEST(TextSearch, PositionsAreOneBased) {
    EXPECT_EQ(Pos("b", "abcb"), 2);
    EXPECT_EQ(Pos("B", "abcb"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(PosNoCase("B", "abcb"), 2);
    EXPECT_EQ(PosNoCase("abc", "ab"), 0);
    EXPECT_EQ(PosFrom("b", "abcb", 3), 4);
    EXPECT_EQ(PosFrom("b", "abcb", 5), 0);
    EXPECT_EQ(PosFrom("b", "abcb", 0), 0);
    EXPECT_EQ(PosFrom("B", "abcb", 1, false), 0);
    EXPECT_EQ(PosFrom("x", "", 1), 0);
    EXPECT_EQ(LastPos("b", "abcb"), 4);
    EXPECT_EQ(LastPos("bc", "abcbc"), 4);
    EXPECT_EQ(LastPos("z", "abc"), 0);
    EXPECT_TRUE(StartsWith("/Opt", "/opTION", true));
    EXPECT_FALSE(StartsWith("/Opt", "/opTION", false));
    EXPECT_FALSE(StartsWith("longer", "long", true));
    EXPECT_TRUE(EndsWith(".EXE", "stub.exe", true));
    EXPECT_FALSE(EndsWith(".EXE", "stub.exe", false));
    EXPECT_FALSE(EndsWith("xstub.exe", "stub.exe", true));
}

TEST(TextSplit, LeftOfRightOf) {
    EXPECT_EQ(LeftOf("key = value = x", "=", "d", false), "key ");
    EXPECT_EQ(LeftOf("key = value", "=", "d", true), "key");
    EXPECT_EQ(RightOf("key = value = x", "=", "d", false), " value = x");
    EXPECT_EQ(RightOf("key = value", "=", "d", true), "value");
    EXPECT_EQ(LeftOf("novalue", "=", "d", true), "d");
    EXPECT_EQ(RightOf("novalue", "=", "d", true), "d");
    EXPECT_EQ(RightOf("a::b", "::", "d", false), "b");
    EXPECT_EQ(LeftOf("a", "", "d", false), "d");
}

TEST(TextBytes, ReplaceCharReverseKeep) {
    EXPECT_EQ(ReplaceChar("a\0b\0"s, '\0', '|'), "a|b|");
    EXPECT_EQ(ReverseText("ab\0c"s), "c\0ba"s);
    EXPECT_EQ(KeepChars("1,234.5 EUR", "0123456789."), "1234.5");
    EXPECT_EQ(KeepChars("abc", ""), "");
}

TEST(TextQuote, StripUnquoteQuoteEnclose) {
    struct Case {
        std::string text;
        bool always;
        std::string expected;
    } strip[] = {
        {"\"", false, ""},         {"\"a\"", false, "a"},
        {"\"a", false, "\"a"},     {"\"a", true, "a"},
        {"\"\"a\"\"", false, "a"}, {"\"\"", false, ""},
        {"a\"b", true, "a\"b"},    {"", true, ""},
        {"\"\"\"", false, ""},
    };
    for (const Case& c : strip)
        EXPECT_EQ(StripChar(c.text, '"', c.always), c.expected) << c.text;
    EXPECT_EQ(Unquote("  \"C:\\Program Files\\x\"  ", false), "C:\\Program Files\\x");
    EXPECT_EQ(Unquote(" \"half ", false), "\"half");
    EXPECT_EQ(Unquote(" \"half ", true), "half");
    EXPECT_EQ(Quote("x y"), "\"x y\"");
    EXPECT_EQ(Quote(" \"x y\" "), "\"x y\"");
    EXPECT_EQ(Quote(""), "\"\"");
    EXPECT_EQ(Enclose("*a*", '*', true), "*a*");
    EXPECT_EQ(Enclose("*a*", '*', false), "**a**");
    EXPECT_EQ(Enclose("", '|', true), "||");
}

TEST(TextDebugLines, Formats) {
    EXPECT_EQ(FourFieldLine("a", "b", "c", "d"), "[a]  [b]  [c]  [d]");
    EXPECT_EQ(ExceptionLine("YieldX", "", "boom"), " --- YieldX --- boom");
    EXPECT_EQ(ExceptionLine("YieldX", "step 2", "boom"), " --- YieldX --- step 2 --- boom");
}

} // namespace
