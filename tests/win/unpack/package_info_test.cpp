// Packages written by the package writer, read back through the stub's Win32
// file reads.
#include "core/package/tgfileinfo.h"
#include "core/package/token.h"
#include "core/package/trailer.h"
#include "core/package/writer.h"
#include "stub/package/win_file_source.h"
#include "tests/support/wine_test_support.h"
#include "tests/win/unpack/payload_fixture.h"
#include "tests/win/unpack/unpack_fixtures.h"

#include <gtest/gtest.h>

using namespace package;
using testsupport::ReadWholeFile;
using testsupport::WriteWholeFile;

namespace {

class PackageInfoTest : public unpacktest::PayloadFixture {};

TEST_F(PackageInfoTest, EveryFieldReadsBackAsWritten) {
    BuildOptions o;
    o.stubImage = unpacktest::Image(4096);
    o.languageBlock = "\x02\x01"
                      "English\x01s0=T\x01\x01"
                      "Deutsch\x01s0=D\x01\x02";
    std::string token = ScrambleToken("param-token-20-bytes", [] { return uint8_t(5); });
    std::string dlToken = ScrambleToken("dl", [] { return uint8_t(11); });
    o.parameterBlock = "|http://upd.example/x/|sub\\upd.v1.info|Agent.exe|" + token + "|1|";
    o.hasDownloadBlock = true;
    o.downloadBlock = "|http://dl.example/|Setup.exe|1|" + dlToken + "|12345|";
    o.trailer.SetFlag(flag::kAlwaysShowSpace, true);
    o.trailer.SetFlag(flag::kActivityBar, true);
    o.trailer.SetFlag(flag::kTraceLog, true);
    o.trailer.SetByte(field::kWebDownload, 1);
    o.trailer.SetByte(field::kAskDownload, 1);
    o.trailer.SetByte(field::kWriteAgentCopy, 1);
    o.trailer.SetByte(field::kIsAgent, 1);
    o.trailer.SetByte(0, 0x11);
    o.trailer.SetByte(64, 0x22);
    o.files = {File("Engine.exe", std::string(70000, 'e')), File("a\\b.txt", "bee", 0x5A8B1234)};
    BuildResult r;
    std::string error;
    ASSERT_TRUE(BuildPackage(o, dir_.file("p.exe"), r, error)) << error;

    TGFileInfo info = ReadPackageInfo(dir_.file("p.exe"));
    ASSERT_TRUE(info.MagicMatches());
    EXPECT_EQ(info.PackageStart(), 4096u);
    EXPECT_EQ(info.FilesCount(), 2u);
    EXPECT_EQ(info.Trailer().BlockCount(), 3);
    EXPECT_EQ(info.LanguageBlock(), o.languageBlock);
    EXPECT_EQ(info.ParameterBlock(), o.parameterBlock);
    EXPECT_EQ(info.DownloadBlock(), o.downloadBlock);
    EXPECT_EQ(info.UpdateLocation(), "http://upd.example/x/");
    EXPECT_EQ(info.DescriptorName(), "upd.v1.info");
    EXPECT_EQ(info.LocalDescriptorName(), "upd.original");
    EXPECT_EQ(info.AgentName(), "Agent.exe");
    EXPECT_EQ(info.Token(false), token);
    EXPECT_EQ(info.Token(true), "param-token-20-bytes");
    EXPECT_TRUE(info.RunHidden());
    EXPECT_EQ(info.DownloadSource(), "http://dl.example/");
    EXPECT_EQ(info.SetupFileName(), "Setup.exe");
    EXPECT_TRUE(info.AlwaysDownload());
    EXPECT_EQ(info.DownloadToken(), "dl");
    EXPECT_EQ(info.SetupFileSize(), "12345");
    EXPECT_TRUE(info.AlwaysShowSpaceMessage() && info.ShowActivityBar() && info.WriteTraceLog() &&
                info.IsWebDownload() && info.AskBeforeDownload() && info.WriteAgentCopy() &&
                info.IsAutoUpdateAgent());
    EXPECT_FALSE(info.MorePartsFollow() || info.IsFirstDisk());
    EXPECT_EQ(info.Trailer().Byte(0), 0x11);
    EXPECT_EQ(info.Trailer().Byte(64), 0x22);
    EXPECT_EQ(info.Trailer().Size(), kTrailerSize);
    std::vector<uint32_t> space = SpaceRequiredValues({70000, 3});
    for (int i = 0; i < kSpaceValueCount; ++i)
        EXPECT_EQ(info.Trailer().SpaceValue(i), space[size_t(i)]) << i;
    Win32FileSource src(dir_.file("p.exe"));
    EXPECT_EQ(info.CheckValue(), ComputeCheckValue(src, kTrailerSize));
    EXPECT_NE(info.CheckValue(), kUncheckedValue);
    TGFileInfo same = ReadPackageInfo(dir_.file("p.exe"));
    EXPECT_TRUE(info.SameDownloadToken(same));
}

TEST_F(PackageInfoTest, SignedPackageIsFoundThroughTheEndPointer) {
    BuildOptions o;
    o.stubImage = unpacktest::Image(1024);
    o.languageBlock = unpacktest::kLanguageBlock;
    o.parameterBlock = unpacktest::kParameterBlock;
    o.files = {File("x.txt", "payload")};
    BuildResult r;
    std::string error;
    ASSERT_TRUE(BuildPackage(o, dir_.file("s.exe"), r, error)) << error;
    std::string bytes = ReadWholeFile(dir_.file("s.exe"));
    const size_t end = bytes.size();
    // What signing appends: padding and a certificate table ending in other bytes.
    bytes += std::string(8, '\0') + std::string(3000, 'C') + std::string("\x10\0\0\0", 4);
    ASSERT_TRUE(WriteWholeFile(dir_.file("s.exe"), bytes));

    Win32FileSource src(dir_.file("s.exe"));
    ASSERT_TRUE(src.IsOpen());
    EXPECT_EQ(PackageEnd(src), end);
    TGFileInfo info = ReadPackageInfo(dir_.file("s.exe"));
    ASSERT_TRUE(info.MagicMatches());
    EXPECT_EQ(info.ParameterBlock(), o.parameterBlock);
    EXPECT_EQ(info.FilesCount(), 1u);
}

TEST_F(PackageInfoTest, MissingFileGivesAnEmptyObject) {
    TGFileInfo info = ReadPackageInfo(dir_.file("none.exe"));
    for (uint8_t b : info.Trailer().bytes)
        EXPECT_EQ(b, 0);
    EXPECT_TRUE(info.LanguageBlock().empty() && info.ParameterBlock().empty());
    Win32FileSource src(dir_.file("none.exe"));
    EXPECT_FALSE(src.IsOpen());
    EXPECT_EQ(src.Size(), -1);
    char b;
    EXPECT_EQ(src.ReadAt(0, &b, 1), 0u);
}

TEST_F(PackageInfoTest, ReadsShareAFileOpenForWriting) {
    unpacktest::HandPackage p;
    ASSERT_TRUE(WriteWholeFile(dir_.file("w.exe"), p.Bytes()));
    HANDLE writer =
        CreateFileA(dir_.file("w.exe").c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    TGFileInfo info = ReadPackageInfo(dir_.file("w.exe"));
    EXPECT_EQ(info.ParameterBlock(), unpacktest::kParameterBlock);
    CloseHandle(writer);
    // The reader closed its handle: the file can be deleted at once.
    EXPECT_TRUE(DeleteFileA(dir_.file("w.exe").c_str()));
}

TEST_F(PackageInfoTest, ReadAtStopsAtTheFileEnd) {
    ASSERT_TRUE(WriteWholeFile(dir_.file("f.bin"), "0123456789"));
    Win32FileSource src(dir_.file("f.bin"));
    ASSERT_EQ(src.Size(), 10);
    struct Case {
        uint64_t offset;
        size_t n;
        const char* expect;
    } cases[] = {{0, 4, "0123"}, {7, 10, "789"}, {10, 1, ""}, {uint64_t(1) << 33, 4, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(src.Read(c.offset, c.n), c.expect) << c.offset;
}

} // namespace
