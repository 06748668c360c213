#include "core/package/token.h"

#include <random>
#include <vector>

namespace package {

namespace {
constexpr uint8_t kCharShift = 50;
constexpr size_t kUsualBytes = 20;

int HexValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::vector<uint8_t> DecodePairs(const std::string& scrambled) {
    std::string text(scrambled);
    for (char& c : text)
        c = char(uint8_t(c) - kCharShift);
    std::vector<uint8_t> out;
    size_t i = 0;
    // A lone digit at the end is not a pair and is ignored.
    while (i + 2 <= text.size()) {
        if (text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
            i += 2;
            continue;
        }
        int hi = HexValue(uint8_t(text[i])), lo = HexValue(uint8_t(text[i + 1]));
        out.push_back(hi < 0 || lo < 0 ? 0xFF : uint8_t(hi << 4 | lo));
        i += 2;
    }
    return out;
}
} // namespace

std::optional<std::string> RevealToken(const std::string& scrambled) {
    std::vector<uint8_t> b = DecodePairs(scrambled);
    size_t n = b.size();
    if (n <= 4) return std::nullopt;
    uint8_t sum = 0;
    for (size_t i = 0; i < n; ++i)
        if (i != n - 2) sum = uint8_t(sum + b[i]);
    if (sum != b[n - 2]) return std::nullopt;
    uint8_t key = b[0] ^ b[n - 1];
    for (size_t i = 1; i + 1 < n; ++i)
        b[i] ^= key;
    size_t p = b[1], q = b[2];
    if (p + q + 4 > n) return std::nullopt;
    return std::string(b.begin() + long(p) + 3, b.begin() + long(n - q - 1));
}

std::string RevealTokenText(const std::string& scrambled) {
    if (auto v = RevealToken(scrambled)) return *v;
    static std::mt19937 rng{std::random_device{}()};
    return std::to_string(std::uniform_int_distribution<int>(0, 99998)(rng));
}

bool TokensMatch(const std::string& scrambledA, const std::string& scrambledB) {
    auto a = RevealToken(scrambledA);
    auto b = RevealToken(scrambledB);
    return a && b && !a->empty() && *a == *b;
}

std::string ScrambleToken(const std::string& plain, const std::function<uint8_t()>& randomByte) {
    size_t len = plain.size();
    // The checksum byte is the last of the Q bytes after the value, so Q >= 1.
    size_t pad = len + 4 < kUsualBytes ? kUsualBytes - 4 - len : 1 + randomByte() % 4;
    size_t p = randomByte() % pad;
    size_t q = pad - p;
    size_t n = len + p + q + 4;
    std::vector<uint8_t> b(n);
    uint8_t key = randomByte();
    b[0] = randomByte();
    b[n - 1] = uint8_t(b[0] ^ key);
    b[1] = uint8_t(p) ^ key;
    b[2] = uint8_t(q) ^ key;
    for (size_t i = 0; i < p; ++i)
        b[3 + i] = randomByte() ^ key;
    for (size_t i = 0; i < len; ++i)
        b[3 + p + i] = uint8_t(plain[i]) ^ key;
    for (size_t i = 0; i + 1 < q; ++i)
        b[3 + p + len + i] = randomByte() ^ key;
    uint8_t sum = 0;
    for (size_t i = 0; i < n; ++i)
        if (i != n - 2) sum = uint8_t(sum + b[i]);
    b[n - 2] = sum;
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (uint8_t v : b) {
        out += char(kHex[v >> 4] + kCharShift);
        out += char(kHex[v & 15] + kCharShift);
    }
    return out;
}

} // namespace package
