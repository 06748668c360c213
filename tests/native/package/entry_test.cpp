#include "core/package/entry.h"
#include "core/package/format.h"

#include <gtest/gtest.h>
#include <zlib.h>

using namespace package;

namespace {

std::string Stored(const std::string& text) {
    std::string out;
    AppendLE32(out, uint32_t(0) - uint32_t(text.size()));
    return out + text;
}

std::string Compressed(const std::string& text) {
    uLongf n = compressBound(uLong(text.size()));
    std::string z(n, '\0');
    compress2(reinterpret_cast<Bytef*>(&z[0]), &n, reinterpret_cast<const Bytef*>(text.data()),
              uLong(text.size()), 6);
    z.resize(n);
    std::string out;
    AppendLE32(out, uint32_t(n));
    return out + z;
}

EntryResult Decode(const std::string& file, std::string& text, std::string& error) {
    MemorySource src(file);
    StoredBlock b;
    EXPECT_TRUE(ReadStoredBlock(src, 0, file.size(), b));
    return DecodeEntryText(src, b, text, error);
}

TEST(Entry, HeaderFields) {
    struct Case {
        const char* header;
        const char* name;
        const char* run;
        uint32_t time;
    } cases[] = {
        {"|Engine.exe*|1234|", "Engine.exe", "Engine.exe*", 1234},
        {"|Engine.exe* /s /v|99|", "Engine.exe", "Engine.exe* /s /v", 99},
        {"|sub\\a.txt|", "sub\\a.txt", "", 0},
        {"|a.txt|notanumber|", "a.txt", "", 0},
        {"|a.txt|0|", "a.txt", "", 0},
        {"|a.txt|-5|", "a.txt", "", 0},
        // A marker outside item 0 makes the whole header the run entry.
        {"|a.txt|7|*|", "a.txt", "|a.txt|7|*|", 7},
    };
    for (const Case& c : cases) {
        EntryHeader h = ParseEntryHeader(c.header);
        EXPECT_EQ(h.name, c.name) << c.header;
        EXPECT_EQ(h.runEntry, c.run) << c.header;
        EXPECT_EQ(h.dosTime, c.time) << c.header;
    }
    EXPECT_EQ(MakeEntryHeader("x\\y.bin", 42), "|x\\y.bin|42|");
}

TEST(Entry, SafeNames) {
    for (const char* ok : {"a.txt", "sub\\dir\\b.bin", "Engine.exe", "a..b", ".hidden"})
        EXPECT_TRUE(IsSafeEntryName(ok)) << ok;
    for (const char* bad : {"", "\\abs", "..\\up", "a\\..\\..\\x", "C:\\win", "a\\\\b", "a/b",
                            "a|b", "a*b", "dir\\", "...", "x.", "x ", "a\tb", ".\\a"})
        EXPECT_FALSE(IsSafeEntryName(bad)) << bad;
}

TEST(Entry, PrintableEscapesControlAndHighBytes) {
    EXPECT_EQ(Printable("sub\\a b~.txt"), "sub\\a b~.txt");
    EXPECT_EQ(Printable(std::string("a\tb\x7F\xE9", 5)), "a\\x09b\\x7F\\xE9");
    EXPECT_EQ(Printable(std::string("\0", 1)), "\\x00");
}

TEST(Entry, StoredAndCompressedDecodeAlike) {
    std::string content(100000, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = char(i % 251);
    std::string text = "|big.bin|5|" + std::string(1, '\0') + content;
    for (const std::string& file : {Stored(text), Compressed(text)}) {
        std::string back, error;
        EXPECT_EQ(Decode(file, back, error), EntryResult::Ok);
        EXPECT_EQ(back, text);
    }
}

TEST(Entry, ContentMayHoldZeroBytesAndBeEmpty) {
    std::string text = std::string("|e.txt|0|") + '\0';
    std::string back, error;
    EXPECT_EQ(Decode(Stored(text), back, error), EntryResult::Ok);
    EXPECT_EQ(back, text);
    std::string withZeros = std::string("|z|0|\0\0\0x", 9);
    EXPECT_EQ(Decode(Compressed(withZeros), back, error), EntryResult::Ok);
    EXPECT_EQ(back, withZeros);
}

TEST(Entry, DamagedEntries) {
    std::string text = "|f.txt|1|" + std::string(1, '\0') + std::string(5000, 'q');
    std::string z = Compressed(text);
    std::string corrupt = z;
    corrupt[10] ^= 0x55;
    corrupt[11] ^= 0x55;
    struct Case {
        std::string file;
        EntryResult want;
    } cases[] = {
        {Stored("no zero byte at all"), EntryResult::Skipped},
        {Stored(std::string(1, '\0') + "content"), EntryResult::Skipped},
        {Compressed(std::string(1, '\0') + "x"), EntryResult::Skipped},
        {Stored(text).substr(0, 100), EntryResult::Truncated},
        {z.substr(0, z.size() - 10), EntryResult::Truncated},
        {corrupt, EntryResult::InflateError},
        {Stored(std::string(kMaxEntryHeader + 10, 'h') + '\0'), EntryResult::Skipped},
    };
    for (const Case& c : cases) {
        std::string back, error;
        EXPECT_EQ(Decode(c.file, back, error), c.want) << c.file.size();
        if (c.want == EntryResult::InflateError) EXPECT_FALSE(error.empty());
    }
    // Garbage that is not a zlib stream at all.
    std::string junk;
    AppendLE32(junk, 8);
    junk += "notzlib!";
    std::string back, error;
    EXPECT_EQ(Decode(junk, back, error), EntryResult::InflateError);
    EXPECT_EQ(error, "incorrect header check");
}

TEST(Entry, LengthFieldEdges) {
    std::string f;
    AppendLE32(f, 0x80000000u); // INT32_MIN: stored, 2^31 bytes claimed
    f += "abc";
    MemorySource src(f);
    StoredBlock b;
    ASSERT_TRUE(ReadStoredBlock(src, 0, f.size(), b));
    EXPECT_FALSE(b.compressed);
    EXPECT_EQ(b.length, 0x80000000u);
    EXPECT_EQ(b.available, 3u);
    EXPECT_FALSE(ReadStoredBlock(src, 4, f.size(), b));
    EXPECT_FALSE(ReadStoredBlock(src, 0, 3, b));
}

TEST(Entry, DosTime) {
    EXPECT_EQ(PackDosTime(1980, 1, 1, 0, 0, 0), (1u << 5 | 1u) << 16);
    EXPECT_EQ(PackDosTime(2024, 12, 31, 23, 59, 58),
              (uint32_t(44) << 9 | 12u << 5 | 31u) << 16 | (23u << 11 | 59u << 5 | 29u));
    EXPECT_EQ(PackDosTime(1979, 12, 31, 0, 0, 0), 0u);
    EXPECT_EQ(PackDosTime(2108, 1, 1, 0, 0, 0), 0u);
}

} // namespace
