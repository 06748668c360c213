#pragma once
// Message markup of every user-visible text: "<B>" and "</B>" around bold
// spans, "<P>" a line break, "<T>" a tab, and the escapes backslash-backslash-n
// (line break) and backslash-backslash-t (tab).

#include <cstddef>
#include <string>
#include <vector>

// The two escapes (case-sensitive), then "<P>" and "<T>" (case-insensitive).
std::string ConvertEscapes(const std::string& text);

// A bold span as zero-based character offsets [start, end) of a plain text.
struct BoldSpan {
    size_t start = 0;
    size_t end = 0;
    bool operator==(const BoldSpan& o) const { return start == o.start && end == o.end; }
};

struct MarkupText {
    std::string text; // line ends are CR LF
    std::vector<BoldSpan> spans;
};

// Escapes converted, a leading "<<b>" reduced to "<b>", bold tags removed and
// their spans recorded; an opening tag without a later closing tag only
// disappears, every leftover "</B>" is removed.
MarkupText ParseMarkup(const std::string& text);

// The text of a box whose caption becomes its bold heading: the caption is
// upper-cased when it occurs in "|Error|Attention|Confirm|".
std::string HeadingText(const std::string& caption, const std::string& text);

// Offsets for a control that stores each CR LF of `plain` as one character.
std::vector<BoldSpan> MapSpansToSingleLineEnds(const std::string& plain,
                                               const std::vector<BoldSpan>& spans);
