#include "core/package/tgfileinfo.h"
#include "core/package/trailer.h"
#include "tests/native/package/package_fixtures.h"

#include <gtest/gtest.h>

using namespace package;

namespace {

std::string TwoBlocks() {
    return fixtures::Block("\x02\x01"
                           "English\x01s0=Title\x01\x02") +
           fixtures::Block("|http://u/|upd.info|Agent.exe|tok|1|");
}

TEST(Trailer, UnsignedPackageReadsTheLastBytes) {
    std::string f = fixtures::Package(TwoBlocks(), "payload");
    MemorySource src(f);
    TGFileInfo info(src);
    ASSERT_TRUE(info.MagicMatches());
    EXPECT_EQ(info.PackageStart(), 1024u);
    EXPECT_EQ(info.Trailer().Size(), kTrailerSize);
    EXPECT_EQ(info.UpdateLocation(), "http://u/");
    EXPECT_EQ(info.LocalDescriptorName(), "upd.original");
    EXPECT_EQ(info.AgentName(), "Agent.exe");
    EXPECT_EQ(info.Token(false), "tok");
    EXPECT_TRUE(info.RunHidden());
    EXPECT_TRUE(info.DownloadBlock().empty());
}

TEST(Trailer, SignedPackageIsFoundThroughTheEndPointer) {
    std::string f = fixtures::Package(TwoBlocks());
    fixtures::SetEndPointer(f, f.size());
    // What signing appends: padding and a certificate table that ends in junk
    // which would read as a huge trailer size.
    f += std::string(8, '\0') + std::string(300, '\xEE');
    MemorySource src(f);
    TGFileInfo info(src);
    ASSERT_TRUE(info.MagicMatches());
    EXPECT_EQ(info.AgentName(), "Agent.exe");
    EXPECT_EQ(PackageEnd(src), f.size() - 308);
}

TEST(Trailer, BlockCountSelectsTheDownloadBlock) {
    std::string dl = fixtures::Block("|http://d/|Setup.exe|1|scr|123|");
    struct Case {
        uint8_t count;
        bool download;
        int readAs;
    } cases[] = {{0, false, 2}, {2, false, 2}, {3, true, 3}, {200, true, 200}};
    for (const Case& c : cases) {
        std::string f = fixtures::Package(TwoBlocks() + dl, "", c.count);
        MemorySource src(f);
        TGFileInfo info(src);
        EXPECT_EQ(info.Trailer().BlockCount(), c.readAs) << int(c.count);
        EXPECT_EQ(info.SetupFileName(), c.download ? "Setup.exe" : "") << int(c.count);
        EXPECT_EQ(info.AlwaysDownload(), c.download) << int(c.count);
    }
}

TEST(Trailer, WrongMagicKeepsTheFieldsButReadsNoBlocks) {
    std::string f = fixtures::Package(TwoBlocks());
    f[f.size() - kTrailerSize + field::kMagic] ^= 1;
    f[f.size() - kTrailerSize + field::kFileCount] = 21;
    MemorySource src(f);
    TGFileInfo info(src);
    EXPECT_FALSE(info.MagicMatches());
    EXPECT_EQ(info.FilesCount(), 21u);
    EXPECT_TRUE(info.LanguageBlock().empty());
    EXPECT_TRUE(info.ParameterBlock().empty());
}

TEST(Trailer, ShortTrailerSizeReadsIntoAZeroFilledRecord) {
    // T = 20: 16 bytes are read, the rest of the record stays zero.
    std::string f = fixtures::StubImage();
    PackageTrailer t = fixtures::Trailer(3, 7);
    f += t.ToString().substr(0, 16);
    AppendLE32(f, 20);
    MemorySource src(f);
    PackageTrailer rec;
    ASSERT_TRUE(ReadTrailer(src, rec));
    EXPECT_EQ(rec.Size(), 20u);
    EXPECT_EQ(rec.PackageStart(), 7u);
    EXPECT_TRUE(rec.MagicMatches());
    EXPECT_EQ(rec.CheckValue(), 0u);
}

TEST(Trailer, HostileSizesAndPointersGiveAnEmptyRecord) {
    std::string good = fixtures::Package(TwoBlocks());
    auto withSize = [&](uint32_t t) {
        std::string f = good;
        PutLE32(reinterpret_cast<uint8_t*>(&f[f.size() - 4]), t);
        return f;
    };
    std::string pastEnd = good;
    fixtures::SetEndPointer(pastEnd, uint64_t(good.size()) + 1000);
    std::string tiny = "MZ";
    std::string cases[] = {withSize(0),          withSize(3), withSize(uint32_t(good.size()) + 1),
                           withSize(0xFFFFFFFF), tiny,        std::string()};
    for (const std::string& f : cases) {
        MemorySource src(f);
        PackageTrailer rec;
        EXPECT_FALSE(ReadTrailer(src, rec)) << f.size();
        EXPECT_EQ(rec.ToString(), std::string(kTrailerSize, '\0'));
        TGFileInfo info(src);
        EXPECT_TRUE(info.LanguageBlock().empty());
    }
    // A pointer past the end is ignored: the file is read as unsigned.
    MemorySource src(pastEnd);
    TGFileInfo info(src);
    EXPECT_TRUE(info.MagicMatches());
    EXPECT_EQ(info.AgentName(), "Agent.exe");
}

TEST(Trailer, BlockLengthsAreBoundedByThePackage) {
    // Language block claims 1 MB: it is cut at the package end.
    std::string lang = "\x02\x01"
                       "English\x01\x02";
    std::string blocks;
    AppendLE32(blocks, 1u << 20);
    blocks += lang;
    std::string f = fixtures::Package(blocks);
    MemorySource src(f);
    TGFileInfo info(src);
    EXPECT_EQ(info.LanguageBlock().size(), lang.size() + kTrailerSize);
    EXPECT_TRUE(info.ParameterBlock().empty());

    // A negative length gives an empty block; its bytes are skipped.
    std::string neg;
    AppendLE32(neg, uint32_t(-3));
    neg += "abc" + fixtures::Block("|a|b|c|d|1|");
    std::string g = fixtures::Package(neg);
    MemorySource src2(g);
    TGFileInfo info2(src2);
    EXPECT_TRUE(info2.LanguageBlock().empty());
    EXPECT_EQ(info2.UpdateLocation(), "a");
    EXPECT_TRUE(info2.RunHidden());
}

TEST(Trailer, MissingFileGivesAnEmptyObject) {
    StdFileSource src("/nonexistent/package.exe");
    TGFileInfo info(src);
    EXPECT_EQ(info.Trailer().ToString(), std::string(kTrailerSize, '\0'));
    EXPECT_FALSE(info.MagicMatches());
    EXPECT_EQ(info.LocalDescriptorName(), ".original");
}

TEST(Trailer, SpaceRequiredPicksTheValueForTheClusterSize) {
    struct Case {
        uint32_t cluster;
        int index;
    } cases[] = {{0, 0},    {511, 0},   {512, 1},   {1024, 2},  {2048, 3},     {4096, 4},
                 {8192, 5}, {16384, 6}, {32768, 7}, {65536, 8}, {1u << 20, 8}, {4095, 3}};
    std::string f = fixtures::Package(TwoBlocks());
    for (int i = 0; i < kSpaceValueCount; ++i)
        PutLE32(reinterpret_cast<uint8_t*>(&f[f.size() - kTrailerSize + 28 + 4 * i]),
                uint32_t(1000 + i));
    MemorySource src(f);
    TGFileInfo info(src);
    for (const Case& c : cases)
        EXPECT_EQ(info.SpaceRequiredForCluster(c.cluster), uint32_t(1000 + c.index)) << c.cluster;
}

TEST(Trailer, DescriptorNamesLoseFolderAndExtensions) {
    struct Case {
        const char* item;
        const char* name;
        const char* local;
    } cases[] = {{"upd.info", "upd.info", "upd.original"},
                 {"dir\\sub\\Agent.v2.info", "Agent.v2.info", "Agent.original"},
                 {"a/b.txt", "b.txt", "b.original"},
                 {"noext", "noext", "noext.original"}};
    for (const Case& c : cases) {
        std::string f = fixtures::Package(fixtures::Block("\x02\x02") +
                                          fixtures::Block(std::string("|x|") + c.item + "|a|t|0|"));
        MemorySource src(f);
        TGFileInfo info(src);
        EXPECT_EQ(info.DescriptorName(), c.name);
        EXPECT_EQ(info.LocalDescriptorName(), c.local);
        EXPECT_FALSE(info.RunHidden());
    }
}

} // namespace
