#include "core/package/tgfileinfo.h"
#include "core/package/token.h"
#include "core/package/trailer.h"
#include "core/package/walk.h"
#include "core/package/writer.h"
#include "tests/native/package/package_fixtures.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace fs = std::filesystem;
using namespace package;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

class WriterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("writer_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    PayloadFile AddFile(const std::string& stored, const std::string& bytes, uint32_t time = 0) {
        std::string path = (dir_ / ("src_" + std::to_string(files_.size()))).string();
        std::ofstream(path, std::ios::binary) << bytes;
        PayloadFile f;
        f.storedName = stored;
        f.sourcePath = path;
        f.size = bytes.size();
        f.dosTime = time;
        files_.push_back(f);
        return f;
    }
    BuildOptions Options() {
        BuildOptions o;
        o.stubImage = fixtures::StubImage(4096);
        o.languageBlock = "\x02\x01"
                          "English\x01s0=T\x01\x02";
        o.parameterBlock = "|loc|upd.info|Agent.exe|tok|0|";
        o.files = files_;
        return o;
    }
    std::string Out(const std::string& name) { return (dir_ / name).string(); }

    // Walks a package like the extractor and collects file contents by name.
    std::map<std::string, std::string> Extract(const std::string& path,
                                               std::string* run = nullptr) {
        struct V : PackageVisitor, EntrySink {
            std::map<std::string, std::string> files;
            std::string cur, run;
            bool Part(const PartInfo& p, ByteSource&) override {
                EXPECT_TRUE(p.checkPassed) << p.path;
                return true;
            }
            bool Block(const PartInfo&, ByteSource& src, const BlockInfo& b) override {
                if (b.isHeader) return true;
                std::string err;
                EXPECT_EQ(DecodeEntry(src, b.block, *this, err), EntryResult::Ok) << err;
                return true;
            }
            bool Begin(const EntryHeader& h) override {
                cur = h.name;
                if (!h.runEntry.empty()) run = h.runEntry;
                files[cur];
                return true;
            }
            bool Content(const char* p, size_t n) override {
                files[cur].append(p, n);
                return true;
            }
        } v;
        std::string error;
        EXPECT_EQ(WalkPackage(path, v, error), WalkResult::Done) << error;
        if (run) *run = v.run;
        return v.files;
    }

    fs::path dir_;
    std::vector<PayloadFile> files_;
};

std::string TextBytes(size_t n) {
    std::string s;
    std::mt19937 rng(7);
    static const char* words[] = {"setup ", "driver ", "package ", "server ", "firmware\n"};
    while (s.size() < n)
        s += words[rng() % 5];
    s.resize(n);
    return s;
}

std::string RandomBytes(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char& c : s)
        c = char(rng());
    return s;
}

TEST_F(WriterTest, RoundTripKeepsEveryFieldAsWritten) {
    AddFile("Engine.exe", "MZ engine", 0x5A8B1234);
    AddFile("sub\\notes.txt", TextBytes(300000), 77);
    AddFile("empty.dat", "");
    BuildOptions o = Options();
    o.files[0].run = true;
    o.files[0].runArgs = " /quiet";
    o.hasDownloadBlock = true;
    std::string tok = ScrambleToken("dl-token", [] { return uint8_t(9); });
    o.downloadBlock = "|http://h/|Setup.exe|1|" + tok + "|12345|";
    o.trailer.SetFlag(flag::kActivityBar, true);
    o.trailer.SetFlag(flag::kTraceLog, true);
    o.trailer.SetByte(field::kAskDownload, 1);
    o.trailer.SetByte(field::kIsAgent, 1);
    o.trailer.SetByte(20, 0xAB);
    BuildResult r;
    std::string error;
    ASSERT_TRUE(BuildPackage(o, Out("p.exe"), r, error)) << error;

    StdFileSource src(Out("p.exe"));
    TGFileInfo info(src);
    ASSERT_TRUE(info.MagicMatches());
    EXPECT_EQ(info.PackageStart(), 4096u);
    EXPECT_EQ(info.FilesCount(), 3u);
    EXPECT_EQ(info.Trailer().BlockCount(), 3);
    EXPECT_EQ(info.LanguageBlock(), o.languageBlock);
    EXPECT_EQ(info.ParameterBlock(), o.parameterBlock);
    EXPECT_EQ(info.SetupFileName(), "Setup.exe");
    EXPECT_EQ(info.DownloadToken(), "dl-token");
    EXPECT_EQ(info.SetupFileSize(), "12345");
    EXPECT_TRUE(info.AlwaysDownload());
    EXPECT_TRUE(info.ShowActivityBar() && info.WriteTraceLog() && info.AskBeforeDownload() &&
                info.IsAutoUpdateAgent());
    EXPECT_FALSE(info.AlwaysShowSpaceMessage() || info.MorePartsFollow() || info.IsFirstDisk() ||
                 info.IsWebDownload() || info.WriteAgentCopy());
    EXPECT_EQ(info.Trailer().Byte(20), 0xAB);
    EXPECT_EQ(ReadPackageEndPointer(src), uint64_t(src.Size()));
    std::vector<uint32_t> space = SpaceRequiredValues({9, 300000, 0});
    for (int i = 0; i < kSpaceValueCount; ++i)
        EXPECT_EQ(info.Trailer().SpaceValue(i), space[i]);
    EXPECT_EQ(space[4], 4096u + 303104u);

    std::string run;
    auto files = Extract(Out("p.exe"), &run);
    EXPECT_EQ(run, "Engine.exe* /quiet");
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files["Engine.exe"], "MZ engine");
    EXPECT_EQ(files["sub\\notes.txt"], TextBytes(300000));
    EXPECT_EQ(files["empty.dat"], "");
    EXPECT_TRUE(r.entries[1].compressed);
}

TEST_F(WriterTest, SmallPackageCarriesARealCheckValue) {
    AddFile("a.txt", TextBytes(20000));
    BuildResult r;
    std::string error;
    ASSERT_TRUE(BuildPackage(Options(), Out("p.exe"), r, error)) << error;
    StdFileSource src(Out("p.exe"));
    TGFileInfo info(src);
    ASSERT_LE(src.Size(), int64_t(kCheckedFileLimit));
    EXPECT_NE(info.CheckValue(), kUncheckedValue);
    EXPECT_EQ(ComputeCheckValue(src, kTrailerSize), info.CheckValue());
    // One changed payload byte makes it fail.
    std::string bytes = ReadAll(Out("p.exe"));
    bytes[4096 + 100] ^= 1;
    MemorySource bad(bytes);
    EXPECT_NE(ComputeCheckValue(bad, kTrailerSize), info.CheckValue());
}

TEST_F(WriterTest, OutputDoesNotDependOnTheThreadCount) {
    AddFile("t.txt", TextBytes(3500000));
    AddFile("r.bin", RandomBytes(2500000, 3));
    AddFile("mix.bin", TextBytes(1500000) + RandomBytes(1500000, 4));
    for (int i = 0; i < 30; ++i)
        AddFile("small\\" + std::to_string(i), TextBytes(size_t(i) * 97));
    std::string first;
    for (unsigned threads : {1u, 2u, 5u}) {
        BuildOptions o = Options();
        o.threads = threads;
        BuildResult r;
        std::string error;
        ASSERT_TRUE(BuildPackage(o, Out("p.exe"), r, error)) << error;
        std::string bytes = ReadAll(Out("p.exe"));
        if (first.empty()) {
            first = bytes;
            auto files = Extract(Out("p.exe"));
            EXPECT_EQ(files["mix.bin"], TextBytes(1500000) + RandomBytes(1500000, 4));
            EXPECT_EQ(files["r.bin"], RandomBytes(2500000, 3));
            EXPECT_EQ(files.size(), 33u);
            // Random data is stored, text compressed.
            for (const BuiltEntry& e : r.entries)
                if (e.name == "r.bin")
                    EXPECT_FALSE(e.compressed);
                else if (e.name == "t.txt")
                    EXPECT_TRUE(e.compressed);
        } else {
            EXPECT_TRUE(bytes == first) << threads << " threads";
        }
    }
}

TEST_F(WriterTest, StoredWhenDeflateDoesNotShrinkAndTheFileIsTrimmed) {
    // A small random file goes through deflate, comes out larger, is stored;
    // the attempt must not leave bytes behind the trailer.
    AddFile("r.bin", RandomBytes(300000, 11));
    BuildResult r;
    std::string error;
    ASSERT_TRUE(BuildPackage(Options(), Out("p.exe"), r, error)) << error;
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_FALSE(r.entries[0].compressed);
    StdFileSource src(Out("p.exe"));
    TGFileInfo info(src);
    uint64_t blocks = 8 + info.LanguageBlock().size() + info.ParameterBlock().size();
    uint64_t expect = 4096 + blocks + 4 + r.entries[0].textLength + kTrailerSize;
    EXPECT_EQ(uint64_t(src.Size()), expect);
    EXPECT_EQ(Extract(Out("p.exe"))["r.bin"], RandomBytes(300000, 11));
}

TEST_F(WriterTest, LargeFilesBecomeSeveralEntriesOfOneName) {
    std::string big(kMaxEntryContent + 1000, 'z');
    big[kMaxEntryContent + 10] = 'Q';
    AddFile("big.img", big);
    BuildResult r;
    std::string error;
    ASSERT_TRUE(BuildPackage(Options(), Out("p.exe"), r, error)) << error;
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(r.entries[0].name, "big.img");
    EXPECT_EQ(r.entries[1].name, "big.img");
    EXPECT_EQ(r.entries[0].textLength, kMaxEntryContent + 12); // "|big.img|0|" + 0x00
    EXPECT_EQ(Extract(Out("p.exe"))["big.img"], big);
}

TEST_F(WriterTest, MultiDiskPartsChainAndKeepEveryDiskWithinItsSize) {
    for (int i = 0; i < 6; ++i)
        AddFile("f" + std::to_string(i) + ".bin", RandomBytes(30000, unsigned(i)));
    BuildOptions o = Options();
    o.diskSize = 80000;
    BuildResult r;
    std::string error;
    ASSERT_TRUE(BuildPackage(o, Out("set.exe"), r, error)) << error;
    ASSERT_GE(r.outputs.size(), 4u);
    EXPECT_LE(fs::file_size(r.outputs[0]) + fs::file_size(r.outputs[1]), o.diskSize);
    for (size_t i = 2; i < r.outputs.size(); ++i)
        EXPECT_LE(fs::file_size(r.outputs[i]), o.diskSize);

    StdFileSource first(r.outputs[0]);
    TGFileInfo stub(first);
    EXPECT_TRUE(stub.IsFirstDisk());
    EXPECT_FALSE(stub.MorePartsFollow());
    EXPECT_EQ(stub.FilesCount(), 6u);
    EXPECT_EQ(stub.ParameterBlock(), o.parameterBlock);
    for (size_t i = 1; i < r.outputs.size(); ++i) {
        StdFileSource src(r.outputs[i]);
        TGFileInfo part(src);
        EXPECT_EQ(r.outputs[i], PartFileName(Out("set.exe"), int(i)));
        EXPECT_EQ(part.MorePartsFollow(), i + 1 < r.outputs.size()) << i;
        EXPECT_FALSE(part.IsFirstDisk());
        EXPECT_EQ(IsExecutableImage(src), i == 1) << i;
        if (i == 1)
            EXPECT_EQ(part.ParameterBlock(), o.parameterBlock);
        else
            EXPECT_EQ(part.PackageStart(), 0u);
    }
    auto files = Extract(r.outputs[1]);
    ASSERT_EQ(files.size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(files["f" + std::to_string(i) + ".bin"], RandomBytes(30000, unsigned(i)));
}

TEST_F(WriterTest, RejectsBadStubsAndImpossibleDisks) {
    AddFile("a", "x");
    std::string error;
    BuildResult r;
    BuildOptions o = Options();
    o.stubImage[256] = 'N';
    EXPECT_FALSE(BuildPackage(o, Out("p.exe"), r, error));
    EXPECT_NE(error.find("PE header at offset 256"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(Out("p.exe")));
    o = Options();
    o.stubImage[252] = 1;
    EXPECT_FALSE(BuildPackage(o, Out("p.exe"), r, error));
    EXPECT_NE(error.find("already carries a package"), std::string::npos) << error;
    o = Options();
    o.diskSize = 5000; // the stub image alone is 4096
    EXPECT_FALSE(BuildPackage(o, Out("p.exe"), r, error));
    EXPECT_FALSE(error.empty());
}

} // namespace
