#include "core/util/ksub.h"

#include "core/util/numbers.h"
#include "core/util/text.h"

#include <cstring>

namespace {

const char kTemp = '\0';

// Put never extends a list beyond this many items: a huge index would
// otherwise ask for gigabytes of empty items (and overflow index + 1).
const int kMaxPutItems = 1 << 20;

// The text up to the first byte 0, as the scanning operations see it.
size_t ScanLength(const std::string& list) {
    const void* nul = std::memchr(list.data(), 0, list.size());
    return nul ? static_cast<size_t>(static_cast<const char*>(nul) - list.data()) : list.size();
}

bool WellFormed(const std::string& list) {
    return list.size() >= 2 && list.back() == list.front();
}

// The items Get can reach, in order (a trailing fragment is not an item).
std::vector<std::string> ScanItems(const std::string& list) {
    std::vector<std::string> items;
    size_t end = ScanLength(list);
    if (end == 0) return items;
    char d = list[0];
    size_t p = 1;
    for (;;) {
        size_t q = list.find(d, p);
        if (q == std::string::npos || q >= end) break;
        items.push_back(list.substr(p, q - p));
        p = q + 1;
    }
    return items;
}

// The items 0 .. Count - 1: none unless the list is well formed.
std::vector<std::string> CountedItems(const std::string& list) {
    if (!WellFormed(list)) return {};
    return ScanItems(list);
}

std::string Build(char d, const std::vector<std::string>& items) {
    std::string out(1, d);
    for (const std::string& item : items) {
        out += item;
        out += d;
    }
    return out;
}

std::string ReplaceByte(std::string text, char from, char to) {
    for (char& c : text)
        if (c == from) c = to;
    return text;
}

} // namespace

const char SUB::kCandidates[10] = {'|', '*', '~', '^', '!', '@', '#', '$', '&', '\xFF'};

int SUB::Count(const std::string& list) {
    if (!WellFormed(list)) return 0;
    char d = list[0];
    size_t end = ScanLength(list);
    int n = 0;
    for (size_t i = 1; i < end; ++i)
        if (list[i] == d) ++n;
    return n;
}

std::string SUB::Get(const std::string& list, int index, const std::string& def) {
    if (list.size() == 1 && list[0] == kTemp) return def;
    if (index == -1) index = Count(list) - 1;
    if (index < 0) return def;
    size_t end = ScanLength(list);
    if (end == 0) return def;
    const char d = list[0];
    size_t p = 1;
    for (int i = 0;; ++i) {
        size_t q = list.find(d, p);
        if (q == std::string::npos || q >= end) return def;
        if (i == index) return q > p ? list.substr(p, q - p) : def;
        p = q + 1;
    }
}

int64_t SUB::GetInt64(const std::string& list, int index, int64_t def) {
    return TextToInt64(Get(list, index, ""), def);
}

int SUB::IndexOf(const std::string& list, const std::string& item, bool prefix, int def) {
    std::string l = UpperCase(Trim(list));
    std::string it = UpperCase(item);
    std::string it2 = Trim(it);
    if (l.empty() || it.empty()) return def;
    std::string d(1, l[0]);
    std::string p1 = d + it + (prefix ? "" : d);
    std::string p2 = d + it2 + (prefix ? "" : d);
    size_t m = l.find(p1);
    if (m == std::string::npos) m = l.find(p2);
    if (m == std::string::npos) return def;
    int n = 0;
    for (size_t i = 1; i <= m; ++i)
        if (l[i] == l[0]) ++n;
    return n;
}

bool SUB::Contains(const std::string& list, const std::string& item, bool trim, bool ignoreCase) {
    std::string l = trim ? Trim(list) : list;
    std::string it = trim ? Trim(item) : item;
    if (l.empty() || it.empty()) return false;
    std::string pattern = std::string(1, l[0]) + it + l[0];
    if (ignoreCase) return UpperCase(l).find(UpperCase(pattern)) != std::string::npos;
    return l.find(pattern) != std::string::npos;
}

std::string SUB::GetValue(const std::string& list, const std::string& key,
                          const std::string& defMissing, const std::string& defEmpty) {
    if (list.size() < 3 || list.back() != list.front()) return defMissing;
    const char d = list[0];
    std::string pattern = std::string(1, d) + key;
    if (pattern.back() != '=' || key == "=") pattern += '=';
    std::string l = list;
    if (l.find(' ') != std::string::npos) {
        // Lets tables be written in aligned columns ("|A  = 1|").
        l = ReplaceText(l, std::string(1, d) + " ", std::string(1, d));
        l = ReplaceRepeated(l, " =", "=");
    }
    size_t at = UpperCase(l).find(UpperCase(pattern));
    if (at == std::string::npos) return defMissing;
    size_t from = at + pattern.size();
    size_t to = l.find(d, from);
    std::string value = l.substr(from, to == std::string::npos ? std::string::npos : to - from);
    return value.empty() ? defEmpty : value;
}

std::string SUB::Keys(const std::string& list) {
    std::string out(1, kTemp);
    for (const std::string& item : CountedItems(list)) {
        size_t eq = item.find('=');
        if (eq != std::string::npos) out += item.substr(0, eq);
        out += kTemp;
    }
    return Redelimit(out);
}

std::string SUB::Values(const std::string& list) {
    std::string out(1, kTemp);
    for (const std::string& item : CountedItems(list)) {
        size_t eq = item.find('=');
        if (eq != std::string::npos) out += item.substr(eq + 1);
        out += kTemp;
    }
    return Redelimit(out);
}

void SUB::SplitPairs(const std::string& list, std::string& keys, std::string& values) {
    keys = Keys(list);
    values = Values(list);
}

std::string SUB::JoinPairs(const std::string& keys, const std::string& values, bool trimEmpty) {
    std::string k = trimEmpty ? TrimEmpty(keys, true, false) : keys;
    std::string v = trimEmpty ? TrimEmpty(values, true, false) : values;
    std::vector<std::string> ki = CountedItems(k), vi = CountedItems(v);
    size_t n = ki.size() > vi.size() ? ki.size() : vi.size();
    std::string out(1, kTemp);
    for (size_t i = 0; i < n; ++i) {
        if (i < ki.size()) out += ki[i];
        out += '=';
        if (i < vi.size()) out += vi[i];
        out += kTemp;
    }
    return Redelimit(out);
}

std::string SUB::Delete(const std::string& list, int index) {
    if (list.empty()) return list;
    std::vector<std::string> items = CountedItems(list);
    if (index >= 0 && static_cast<size_t>(index) >= items.size()) return list;
    if (index >= 0) items.erase(items.begin() + index);
    return Build(list[0], items);
}

std::string SUB::Put(const std::string& list, int index, const std::string& value) {
    std::string l = list.empty() ? std::string("|") : list;
    std::vector<std::string> items = CountedItems(l);
    if (index >= 0 && static_cast<size_t>(index) >= items.size()) {
        if (index >= kMaxPutItems) return list;
        items.resize(static_cast<size_t>(index) + 1);
    }
    if (index >= 0) items[index] = value;
    std::string built = Build(kTemp, items);
    const char d = l[0];
    if (built.find(d) == std::string::npos) return ReplaceByte(built, kTemp, d);
    return Redelimit(built);
}

std::string SUB::FromArray(const std::vector<std::string>& items, bool unique) {
    std::string out = Redelimit(Build(kTemp, items));
    return unique ? Unique(out) : out;
}

std::string SUB::Add(const std::string& list, const std::vector<std::string>& items, bool unique) {
    std::string out;
    if (list.empty()) {
        out = FromArray(items, false);
    } else {
        const char d = list[0];
        std::string joined;
        for (const std::string& item : items) {
            joined += item;
            joined += kTemp;
        }
        if (joined.find(d) == std::string::npos)
            out = list + ReplaceByte(joined, kTemp, d);
        else
            out = Redelimit(ReplaceByte(list, d, kTemp) + joined);
    }
    return unique ? Unique(out) : out;
}

std::string SUB::Reverse(const std::string& list) {
    if (list.empty()) return list;
    std::vector<std::string> items = CountedItems(list);
    return Build(list[0], std::vector<std::string>(items.rbegin(), items.rend()));
}

std::string SUB::Unique(const std::string& list) {
    if (list.empty()) return list;
    std::string result;
    for (const std::string& item : CountedItems(list)) {
        if (item.empty()) continue;
        if (!Contains(result, item, true, true)) result = Add(result, {item}, false);
    }
    return SetDelimiter(result, list[0]);
}

std::string SUB::TrimEmpty(const std::string& list, bool fromEnd, bool fromStart) {
    std::vector<std::string> items = CountedItems(list);
    size_t b = 0, e = items.size();
    if (fromEnd)
        while (e > 0 && items[e - 1].empty())
            --e;
    if (fromStart)
        while (b < e && items[b].empty())
            ++b;
    std::string out = list;
    if (b != 0 || e != items.size())
        out = Build(list[0], std::vector<std::string>(items.begin() + b, items.begin() + e));
    return out.size() == 1 ? std::string() : out;
}

std::string SUB::Redelimit(const std::string& list) {
    if (list.empty()) return list;
    std::string out = list;
    if (out.find(kTemp) == std::string::npos) out = ReplaceByte(out, out[0], kTemp);
    for (char c : kCandidates) {
        if (out.find(c) == std::string::npos) {
            out = ReplaceByte(out, out[0], c);
            break;
        }
    }
    return out.size() == 1 ? std::string() : out;
}

std::string SUB::SetDelimiter(const std::string& list, char ch) {
    if (list.empty()) return list;
    return ReplaceByte(list, list[0], ch);
}
