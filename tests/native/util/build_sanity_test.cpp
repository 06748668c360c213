#include <gtest/gtest.h>
#include <zlib.h>

// zlib is the one library the core links; its round trip proves the link.
TEST(NativeTree, ZlibRoundTrip) {
    const char text[] = "payload payload payload";
    Bytef packed[128];
    uLongf packedLen = sizeof packed;
    ASSERT_EQ(compress(packed, &packedLen, reinterpret_cast<const Bytef*>(text), sizeof text),
              Z_OK);
    Bytef back[128];
    uLongf backLen = sizeof back;
    ASSERT_EQ(uncompress(back, &backLen, packed, packedLen), Z_OK);
    EXPECT_EQ(backLen, sizeof text);
    EXPECT_STREQ(reinterpret_cast<const char*>(back), text);
}
