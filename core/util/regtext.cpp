#include "core/util/regtext.h"

#include "core/util/text.h"

namespace {

constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;

struct RootName {
    const char* longName;
    const char* shortName;
    uint32_t code;
};

const RootName kRoots[] = {
    {"HKEY_CLASSES_ROOT", "HKCR", kRootClassesRoot},
    {"HKEY_CURRENT_USER", "HKCU", kRootCurrentUser},
    {"HKEY_LOCAL_MACHINE", "HKLM", kRootLocalMachine},
    {"HKEY_USERS", "HKU", kRootUsers},
    {"HKEY_CURRENT_CONFIG", "HKCC", kRootCurrentConfig},
    {"HKEY_DYN_DATA", "HKDD", kRootDynData},
};

const char kScrambleMarker[] = "Scrambled=01";

} // namespace

uint32_t RootKeyCodeOf(const std::string& rootName) {
    const std::string name = UpperCase(rootName);
    for (const RootName& root : kRoots)
        if (name == root.longName || name == root.shortName) return root.code;
    return kRootCurrentUser;
}

uint32_t SplitRegPathOf(const std::string& path, std::string& subkey) {
    const std::string p = Trim(path);
    if (!StartsWith("HK", p, true)) {
        subkey = p;
        return kRootCurrentUser;
    }
    const size_t cut = p.find('\\');
    subkey = cut == std::string::npos ? std::string() : p.substr(cut + 1);
    return RootKeyCodeOf(p.substr(0, cut));
}

std::string RegDataText(uint32_t type, const std::string& data) {
    if (type == kRegDword && data.size() == 4) {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | static_cast<unsigned char>(data[i]);
        return std::to_string(v);
    }
    if (type == kRegMultiSz && data.size() > 2) {
        std::string t = data;
        while (!t.empty() && t.back() == '\0')
            t.pop_back();
        return ReplaceText(t, std::string(1, '\0'), "<0>");
    }
    return data.substr(0, data.find('\0'));
}

int64_t StrToIntBase(const std::string& text, int base, int64_t def) {
    static const std::string kDigits = "0123456789ABCDEF";
    const std::string t = UpperCase(Trim(text));
    // Unsigned, so that long texts wrap instead of overflowing.
    uint64_t result = 0, multiplier = 1;
    for (size_t i = t.size(); i-- > 0;) {
        const size_t d = kDigits.find(t[i]);
        if (d == std::string::npos) return def;
        result += d * multiplier;
        multiplier *= static_cast<uint64_t>(static_cast<int64_t>(base));
    }
    return static_cast<int64_t>(result);
}

int64_t HexToInt64(const std::string& text, int64_t def) {
    std::string t = Trim(text);
    if (StartsWith("0x", t, true)) t.erase(0, 2);
    return StrToIntBase(t, 16, def);
}

std::string Unscramble(const std::string& text) {
    const size_t markerLength = sizeof(kScrambleMarker) - 1;
    if (text.size() <= markerLength || text.compare(0, markerLength, kScrambleMarker) != 0)
        return text;
    int k = static_cast<unsigned char>(text[markerLength]);
    std::string plain = text.substr(markerLength + 1);
    for (size_t i = 1; i <= plain.size(); ++i) {
        const unsigned char mask = static_cast<unsigned char>((static_cast<int64_t>(i) + k) & 0xFF);
        plain[i - 1] = static_cast<char>(static_cast<unsigned char>(plain[i - 1]) ^ mask);
        k = -k;
    }
    return plain;
}
