#include "core/util/text.h"

#include <cstddef>

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

bool EqualAt(const std::string& text, size_t at, const std::string& sub, bool ignoreCase) {
    if (at > text.size() || text.size() - at < sub.size()) return false;
    for (size_t i = 0; i < sub.size(); ++i) {
        char a = text[at + i], b = sub[i];
        if (ignoreCase ? UpperChar(a) != UpperChar(b) : a != b) return false;
    }
    return true;
}

// 0-based index of sub in text at or after from, or npos.
size_t FindFrom(const std::string& text, const std::string& sub, size_t from, bool ignoreCase) {
    if (sub.empty() || from >= text.size()) return std::string::npos;
    if (!ignoreCase) return text.find(sub, from);
    for (size_t i = from; i + sub.size() <= text.size(); ++i)
        if (EqualAt(text, i, sub, true)) return i;
    return std::string::npos;
}

} // namespace

char UpperChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperCase(const std::string& text) {
    std::string out(text);
    for (char& c : out)
        c = UpperChar(c);
    return out;
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && EqualAt(a, 0, b, true);
}

std::string TrimLeft(const std::string& text) {
    size_t b = 0;
    while (b < text.size() && IsBlank(text[b]))
        ++b;
    return text.substr(b);
}

std::string TrimRight(const std::string& text) {
    size_t e = text.size();
    while (e > 0 && IsBlank(text[e - 1]))
        --e;
    return text.substr(0, e);
}

std::string Trim(const std::string& text) {
    return TrimLeft(TrimRight(text));
}

std::string ReplaceOccurrences(const std::string& text, const std::string& oldText,
                               const std::string& newText, int first, int last, bool ignoreCase) {
    // An empty pattern would match everywhere without moving on.
    if (oldText.empty()) return text;
    if (!ignoreCase && text.find(oldText) == std::string::npos) return text;
    if (last <= 0) last = first;
    if (last <= 0) last = 0x7FFFFFFF;
    std::string out;
    out.reserve(text.size());
    long long count = 0;
    size_t from = 0;
    for (;;) {
        size_t d = FindFrom(text, oldText, from, ignoreCase);
        if (d == std::string::npos) {
            out.append(text, from, std::string::npos);
            break;
        }
        ++count;
        if (count < first || count > last) {
            // This occurrence stays; look again one byte further on.
            out.append(text, from, d - from + 1);
            from = d + 1;
        } else {
            out.append(text, from, d - from);
            out += newText;
            from = d + oldText.size();
        }
    }
    return out;
}

std::string ReplaceText(const std::string& text, const std::string& oldText,
                        const std::string& newText) {
    return ReplaceOccurrences(text, oldText, newText, 0, 0, false);
}

std::string ReplaceTextNoCase(const std::string& text, const std::string& oldText,
                              const std::string& newText) {
    return ReplaceOccurrences(text, oldText, newText, 0, 0, true);
}

std::string ReplaceRepeated(const std::string& text, const std::string& oldText,
                            const std::string& newText) {
    if (oldText.empty() || newText.find(oldText) != std::string::npos) return text;
    // A rewrite that keeps recreating the pattern need not end: stop at
    // bounds far beyond any real use rather than spin or exhaust memory.
    const size_t maxSize = text.size() * 4 + 4096;
    const long maxSteps = 1L << 20;
    std::string out(text);
    size_t d = out.find(oldText);
    for (long step = 0; d != std::string::npos && step < maxSteps; ++step) {
        out.replace(d, oldText.size(), newText);
        if (out.size() > maxSize) break;
        // Nothing before d matched, so a new match must overlap the insertion.
        size_t from = d >= oldText.size() - 1 ? d - (oldText.size() - 1) : 0;
        d = out.find(oldText, from);
    }
    return out;
}

int Pos(const std::string& sub, const std::string& text) {
    size_t d = FindFrom(text, sub, 0, false);
    return d == std::string::npos ? 0 : static_cast<int>(d + 1);
}

int PosNoCase(const std::string& sub, const std::string& text) {
    return PosFrom(sub, text, 1);
}

int PosFrom(const std::string& sub, const std::string& text, int start, bool ignoreCase) {
    if (sub.empty() || text.empty() || start < 1) return 0;
    size_t d = FindFrom(text, sub, static_cast<size_t>(start - 1), ignoreCase);
    return d == std::string::npos ? 0 : static_cast<int>(d + 1);
}

int LastPos(const std::string& sub, const std::string& text) {
    if (sub.empty() || text.empty()) return 0;
    size_t d = text.rfind(sub);
    return d == std::string::npos ? 0 : static_cast<int>(d + 1);
}

bool StartsWith(const std::string& prefix, const std::string& text, bool ignoreCase) {
    return EqualAt(text, 0, prefix, ignoreCase);
}

bool EndsWith(const std::string& suffix, const std::string& text, bool ignoreCase) {
    return suffix.size() <= text.size() &&
           EqualAt(text, text.size() - suffix.size(), suffix, ignoreCase);
}

bool SameTextTrim(const std::string& a, const std::string& b) {
    return SameText(Trim(a), Trim(b));
}

std::string LeftOf(const std::string& text, const std::string& separator, const std::string& def,
                   bool trim) {
    size_t d = separator.empty() ? std::string::npos : text.find(separator);
    if (d == std::string::npos) return def;
    std::string part = text.substr(0, d);
    return trim ? Trim(part) : part;
}

std::string RightOf(const std::string& text, const std::string& separator, const std::string& def,
                    bool trim) {
    size_t d = separator.empty() ? std::string::npos : text.find(separator);
    if (d == std::string::npos) return def;
    std::string part = text.substr(d + separator.size());
    return trim ? Trim(part) : part;
}

std::string ReplaceChar(const std::string& text, char from, char to) {
    std::string out(text);
    for (char& c : out)
        if (c == from) c = to;
    return out;
}

std::string ReverseText(const std::string& text) {
    return std::string(text.rbegin(), text.rend());
}

std::string StripChar(const std::string& text, char ch, bool always) {
    if (text.size() == 1 && text[0] == ch) return std::string();
    if (text.empty() || !(always || (text.front() == ch && text.back() == ch))) return text;
    size_t b = 0, e = text.size();
    while (b < e && text[b] == ch)
        ++b;
    while (e > b && text[e - 1] == ch)
        --e;
    return text.substr(b, e - b);
}

std::string Unquote(const std::string& text, bool always) {
    return StripChar(Trim(text), '"', always);
}

std::string Quote(const std::string& text) {
    return "\"" + Unquote(text, true) + "\"";
}

std::string Enclose(const std::string& text, char ch, bool stripFirst) {
    std::string inner = stripFirst ? StripChar(text, ch, true) : text;
    return std::string(1, ch) + inner + std::string(1, ch);
}

std::string KeepChars(const std::string& text, const std::string& allowed) {
    std::string out;
    for (char c : text)
        if (allowed.find(c) != std::string::npos) out += c;
    return out;
}

std::string FourFieldLine(const std::string& a, const std::string& b, const std::string& c,
                          const std::string& d) {
    return "[" + a + "]  [" + b + "]  [" + c + "]  [" + d + "]";
}

std::string ExceptionLine(const std::string& location, const std::string& extra,
                          const std::string& message) {
    return " --- " + location + (extra.empty() ? std::string() : " --- " + extra) + " --- " +
           message;
}
