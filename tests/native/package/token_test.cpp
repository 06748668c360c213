#include "core/package/token.h"

#include <gtest/gtest.h>
#include <random>

using namespace package;

namespace {

std::mt19937 rng(12345);
uint8_t Rand() {
    return uint8_t(rng());
}

// Builds a scrambled text from raw bytes B[0..N-1] as the stub reads them.
std::string Encode(const std::vector<uint8_t>& b) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string s;
    for (uint8_t v : b) {
        s += char(kHex[v >> 4] + 50);
        s += char(kHex[v & 15] + 50);
    }
    return s;
}

TEST(Token, RevealGivesBackWhatScrambleHid) {
    for (size_t len = 1; len <= 40; ++len) {
        std::string plain;
        for (size_t i = 0; i < len; ++i)
            plain += char(' ' + (i * 13 + len) % 90);
        std::string s = ScrambleToken(plain, Rand);
        auto back = RevealToken(s);
        ASSERT_TRUE(back.has_value()) << len;
        EXPECT_EQ(*back, plain) << len;
        if (len <= 15) EXPECT_EQ(s.size(), 40u) << len;
        for (char c : s)
            EXPECT_TRUE(c >= 'b' && c <= 'x') << len;
    }
    std::string bin("\x00\xFF\x7F|", 4);
    EXPECT_EQ(*RevealToken(ScrambleToken(bin, Rand)), bin);
}

TEST(Token, HandMadeValueWithPrefixes) {
    // K = 0x10 ^ 0x30 = 0x20; P = 1, Q = 1, value "AB", one pad byte before it.
    std::vector<uint8_t> b = {0x10,       1 ^ 0x20,   1 ^ 0x20, 0x99 ^ 0x20,
                              'A' ^ 0x20, 'B' ^ 0x20, 0,        0x30};
    uint8_t sum = 0;
    for (size_t i = 0; i < b.size(); ++i)
        if (i != b.size() - 2) sum = uint8_t(sum + b[i]);
    b[b.size() - 2] = sum;
    std::string s = Encode(b);
    EXPECT_EQ(*RevealToken(s), "AB");
    // "0x" before a pair is skipped (shifted by 50 like every character).
    std::string prefixed;
    for (size_t i = 0; i < s.size(); i += 2)
        prefixed += std::string{char('0' + 50), char('x' + 50)} + s.substr(i, 2);
    EXPECT_EQ(*RevealToken(prefixed), "AB");
}

TEST(Token, MalformedTextsCannotBeRevealed) {
    std::string good = ScrambleToken("secret", Rand);
    std::string badSum = good;
    badSum[good.size() - 3] = badSum[good.size() - 3] == 'b' ? 'c' : 'b';
    // P + Q + 4 > N, with a correct checksum.
    std::vector<uint8_t> b = {0, 200, 200, 0, 0, 0};
    uint8_t sum = 0;
    for (size_t i = 0; i < b.size(); ++i)
        if (i != 4) sum = uint8_t(sum + b[i]);
    b[4] = sum;
    std::string cases[] = {"", "bb", Encode({1, 2, 3, 4}), badSum, Encode(b), "plain text"};
    for (const std::string& s : cases) {
        EXPECT_FALSE(RevealToken(s).has_value()) << s;
        EXPECT_FALSE(TokensMatch(s, s)) << s;
        std::string text = RevealTokenText(s);
        ASSERT_FALSE(text.empty());
        int n = std::stoi(text);
        EXPECT_TRUE(n >= 0 && n <= 99998);
    }
    // A lone trailing digit is not a pair and changes nothing.
    EXPECT_EQ(*RevealToken(good + "b"), "secret");
}

TEST(Token, ComparisonIsOnTheRevealedValue) {
    std::string a1 = ScrambleToken("T0k3n", Rand), a2 = ScrambleToken("T0k3n", Rand);
    std::string b = ScrambleToken("t0k3n", Rand);
    EXPECT_NE(a1, a2); // fresh key and padding each time
    EXPECT_TRUE(TokensMatch(a1, a2));
    EXPECT_FALSE(TokensMatch(a1, b)); // case-sensitive
    EXPECT_FALSE(TokensMatch(a1, ""));
    // Values that reveal to nothing do not authenticate anything.
    std::string empty = ScrambleToken("", Rand);
    ASSERT_TRUE(RevealToken(empty).has_value());
    EXPECT_FALSE(TokensMatch(empty, ScrambleToken("", Rand)));
}

} // namespace
