#include "core/ui/markup.h"

#include <algorithm>

#include "core/util/text.h"

namespace {

bool SameCharNoCase(char a, char b) {
    return UpperChar(a) == UpperChar(b);
}

size_t FindNoCase(const std::string& text, const std::string& what, size_t from = 0) {
    auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                          what.begin(), what.end(), SameCharNoCase);
    return it == text.end() ? std::string::npos : static_cast<size_t>(it - text.begin());
}

// Removes text[pos, pos+len) and keeps the recorded spans on the same characters.
void RemoveAt(std::string& text, size_t pos, size_t len, std::vector<BoldSpan>& spans) {
    text.erase(pos, len);
    auto shift = [pos, len](size_t x) {
        if (x <= pos) return x;
        return x >= pos + len ? x - len : pos;
    };
    for (BoldSpan& s : spans) {
        s.start = shift(s.start);
        s.end = shift(s.end);
    }
}

const char kOpen[] = "<B>";
const char kClose[] = "</B>";

} // namespace

std::string ConvertEscapes(const std::string& text) {
    std::string out = ReplaceText(text, "\\\\n", "\r\n");
    out = ReplaceText(out, "\\\\t", "\t");
    out = ReplaceTextNoCase(out, "<P>", "\r\n");
    return ReplaceTextNoCase(out, "<T>", "\t");
}

MarkupText ParseMarkup(const std::string& source) {
    MarkupText result;
    std::string& text = result.text;
    text = ConvertEscapes(source);
    if (text.compare(0, 4, "<<b>") == 0) text.erase(0, 1);

    for (;;) {
        size_t open = FindNoCase(text, kOpen);
        if (open == std::string::npos) break;
        RemoveAt(text, open, 3, result.spans);
        size_t close = FindNoCase(text, kClose);
        if (close == std::string::npos || close < open) continue;
        RemoveAt(text, close, 4, result.spans);
        result.spans.push_back({open, close});
    }
    // One left-to-right pass over the leftover closing tags.
    for (size_t from = 0;;) {
        size_t at = FindNoCase(text, kClose, from);
        if (at == std::string::npos) break;
        RemoveAt(text, at, 4, result.spans);
        from = at;
    }
    return result;
}

std::string HeadingText(const std::string& caption, const std::string& text) {
    static const std::string kDefaultCaptions = "|Error|Attention|Confirm|";
    std::string heading = caption;
    if (kDefaultCaptions.find(caption) != std::string::npos) heading = UpperCase(caption);
    return "<<b>" + heading + "</b><P><P>" + text + "<P>";
}

std::vector<BoldSpan> MapSpansToSingleLineEnds(const std::string& plain,
                                               const std::vector<BoldSpan>& spans) {
    // lineEndsBefore[x]: CR LF pairs that end at or before offset x.
    std::vector<size_t> lineEndsBefore(plain.size() + 1, 0);
    for (size_t i = 0; i < plain.size(); ++i) {
        bool pairEnds = i >= 1 && plain[i - 1] == '\r' && plain[i] == '\n';
        lineEndsBefore[i + 1] = lineEndsBefore[i] + (pairEnds ? 1 : 0);
    }
    auto map = [&](size_t x) {
        x = std::min(x, plain.size());
        return x - lineEndsBefore[x];
    };
    std::vector<BoldSpan> out;
    out.reserve(spans.size());
    for (const BoldSpan& s : spans)
        out.push_back({map(s.start), map(s.end)});
    return out;
}
