#include "core/ui/markup.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* name;
    std::string in;
    std::string text;
    std::vector<BoldSpan> spans;
};

TEST(Markup, ConvertEscapes) {
    struct {
        std::string in, out;
    } cases[] =
        {
            {"a\\\\nb", "a\r\nb"},        {"a\\\\tb", "a\tb"},
            {"a\\\\Nb", "a\\\\Nb"}, // escapes are case-sensitive
            {"a\\nb", "a\\nb"},     // one backslash is no escape
            {"a<P>b<p>c", "a\r\nb\r\nc"}, {"a<T>b<t>c", "a\tb\tc"},
            {"<B>x</B>", "<B>x</B>"},     {"", ""},
        };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertEscapes(c.in), c.out) << c.in;
}

TEST(Markup, ParseBoldSpans) {
    const ParseCase cases[] = {
        {"plain", "abc", "abc", {}},
        {"upper pair", "a<B>bc</B>d", "abcd", {{1, 3}}},
        {"lower pair", "a<b>bc</b>d", "abcd", {{1, 3}}},
        {"two pairs", "<B>a</B> <b>b</b>", "a b", {{0, 1}, {2, 3}}},
        {"open without close", "a<B>bc", "abc", {}},
        {"close before open", "</B>a<B>b", "ab", {}},
        {"stray closes removed", "a</b>b</B>", "ab", {}},
        {"empty pair", "a<B></B>b", "ab", {{1, 1}}},
        {"nested open", "<B>a<B>b</B>c</B>", "abc", {{0, 2}, {1, 3}}},
        {"span after line break", "x<P><B>y</B>", "x\r\ny", {{3, 4}}},
        {"heading marker", "<<b>HEAD</b><P><P>t<P>", "HEAD\r\n\r\nt\r\n", {{0, 4}}},
        {"marker only at start", "a<<b>b</b>", "a<b", {{2, 3}}},
    };
    for (const auto& c : cases) {
        MarkupText m = ParseMarkup(c.in);
        EXPECT_EQ(m.text, c.text) << c.name;
        EXPECT_EQ(m.spans, c.spans) << c.name;
    }
}

TEST(Markup, SpanOffsetsAreThoseOfTheFinalText) {
    // Removing "<B>" out of "<<B>B>" forms a new opening tag in front of the
    // span just recorded (at 1..8 of "<B>q<B>x"); its removal, and that of
    // the next tag, must move the span with its characters.
    MarkupText m = ParseMarkup("<<B>B>q<B>x</B>");
    EXPECT_EQ(m.text, "qx");
    EXPECT_EQ(m.spans, (std::vector<BoldSpan>{{0, 2}}));
}

TEST(Markup, HeadingText) {
    struct {
        std::string caption, out;
    } cases[] = {
        {"Error", "<<b>ERROR</b><P><P>t<P>"},     {"Attention", "<<b>ATTENTION</b><P><P>t<P>"},
        {"Confirm", "<<b>CONFIRM</b><P><P>t<P>"}, {"Fehler", "<<b>Fehler</b><P><P>t<P>"},
        {"error", "<<b>error</b><P><P>t<P>"}, // the look-up is case-sensitive
        {"Err", "<<b>ERR</b><P><P>t<P>"},     // a part of a default caption counts
    };
    for (const auto& c : cases)
        EXPECT_EQ(HeadingText(c.caption, "t"), c.out) << c.caption;

    MarkupText m = ParseMarkup(HeadingText("Error", "Disk full"));
    EXPECT_EQ(m.text, "ERROR\r\n\r\nDisk full\r\n");
    EXPECT_EQ(m.spans, (std::vector<BoldSpan>{{0, 5}}));
}

TEST(Markup, MapSpansToSingleLineEnds) {
    const std::string plain = "ab\r\n\r\ncd\r\nef";
    // a0 b1 CR2 LF3 CR4 LF5 c6 d7 CR8 LF9 e10 f11
    std::vector<BoldSpan> spans = {{0, 2}, {6, 8}, {10, 12}, {2, 6}, {3, 3}, {20, 30}};
    std::vector<BoldSpan> want = {{0, 2}, {4, 6}, {7, 9}, {2, 4}, {3, 3}, {9, 9}};
    EXPECT_EQ(MapSpansToSingleLineEnds(plain, spans), want);
    EXPECT_EQ(MapSpansToSingleLineEnds("a\rb\nc", {{4, 5}}), (std::vector<BoldSpan>{{4, 5}}));
}

} // namespace
