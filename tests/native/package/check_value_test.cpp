#include "core/package/trailer.h"
#include "tests/native/package/package_fixtures.h"

#include <gtest/gtest.h>

using namespace package;

namespace {

// Words 1, 2, 3, ... as the file body.
std::string CountingWords(size_t bytes) {
    std::string f(bytes, '\0');
    for (size_t i = 0; i + 4 <= bytes; i += 4)
        PutLE32(reinterpret_cast<uint8_t*>(&f[i]), uint32_t(i / 4 + 1));
    return f;
}

TEST(CheckValue, PlainFileSumsTheWordsBeforeTheTrailer) {
    // 100 bytes, T = 74: R starts at 26 and stays above 4 for five words.
    MemorySource src(CountingWords(100));
    EXPECT_EQ(ComputeCheckValue(src, 74), 1u + 2 + 3 + 4 + 5);
}

TEST(CheckValue, EveryFullBlockAddsTheConstant) {
    // 10000 bytes, T = 74: R = 9926; words are summed while R - 4k > 4, i.e.
    // words 1..2480; blocks of 4096 end with R > 4 twice.
    MemorySource src(CountingWords(10000));
    uint32_t sum = 0;
    for (uint32_t w = 1; w <= 2480; ++w)
        sum += w;
    EXPECT_EQ(ComputeCheckValue(src, 74), sum + 2 * 1234);
}

TEST(CheckValue, SignedImageStartsAt512AndEndsAtThePointer) {
    std::string f = CountingWords(2000);
    f[0] = 'M';
    f[1] = 'Z';
    f[256] = 'P';
    f[257] = 'E';
    PutLE32(reinterpret_cast<uint8_t*>(&f[248]), 0);
    PutLE32(reinterpret_cast<uint8_t*>(&f[252]), 1500); // end pointer; the rest is a signature
    MemorySource src(f);
    // R = 1500 - 74 - 512 = 914 from offset 512 (word 129): words while 914 - 4k > 4,
    // k = 1..227, i.e. words 129..355.
    uint32_t sum = 0;
    for (uint32_t w = 129; w <= 355; ++w)
        sum += w;
    EXPECT_EQ(ComputeCheckValue(src, 74), sum);
    // The same image with a zero pointer is checked over the whole file from 0.
    PutLE32(reinterpret_cast<uint8_t*>(&f[252]), 0);
    MemorySource plain(f);
    EXPECT_NE(ComputeCheckValue(plain, 74), sum);
}

TEST(CheckValue, LargeFilesAreNotChecked) {
    MemorySource big(std::string(kCheckedFileLimit + 1, 'x'));
    EXPECT_EQ(ComputeCheckValue(big, 74), kUncheckedValue);
    MemorySource edge(std::string(kCheckedFileLimit, 'x'));
    EXPECT_NE(ComputeCheckValue(edge, 74), kUncheckedValue);
    EXPECT_TRUE(CheckValuePasses(kUncheckedValue, 77));
    EXPECT_TRUE(CheckValuePasses(77, kUncheckedValue));
    EXPECT_TRUE(CheckValuePasses(77, 77));
    EXPECT_FALSE(CheckValuePasses(77, 78));
}

TEST(CheckValue, HostileTrailerSizesStayInBounds) {
    std::string f = CountingWords(300);
    for (uint32_t t : {0u, 3u, 299u, 300u, 301u, 0xFFFFFFFFu}) {
        MemorySource src(f);
        uint32_t v = ComputeCheckValue(src, t);
        if (t >= 296) EXPECT_EQ(v, 0u) << t;
    }
    MemorySource empty{std::string()};
    EXPECT_EQ(ComputeCheckValue(empty, 74), 0u);
}

} // namespace
