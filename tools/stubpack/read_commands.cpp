#include "core/package/entry.h"
#include "core/package/tgfileinfo.h"
#include "core/package/token.h"
#include "core/package/trailer.h"
#include "core/package/walk.h"
#include "core/util/ksub.h"
#include "tools/stubpack/commands.h"
#include "tools/stubpack/files.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <set>

namespace fs = std::filesystem;

namespace stubpack {

int Fail(const std::string& message, int code) {
    std::fprintf(stderr, "stubpack: %s\n", message.c_str());
    return code;
}

namespace {

const char kInspectHelp[] =
    "usage: stubpack inspect FILE [--reveal]\n"
    "\n"
    "Shows the trailer fields and flags, the header blocks, every payload entry\n"
    "(name, date, stored or compressed, sizes, run marker), the check-value verdict\n"
    "and the part chain of a multi-disk set. FILE may be a first-disk stub, a part\n"
    "file or a package. Tokens are shown scrambled unless --reveal is given.\n"
    "Exit code 1 when the package is damaged (check value, entries, parts).\n";

const char kExtractHelp[] =
    "usage: stubpack extract FILE DIR\n"
    "\n"
    "Writes every payload entry of FILE (following its part files) into DIR, as\n"
    "the stub does: same-name entries are appended in order, file times come from\n"
    "the entries. Files already in DIR with a payload name are replaced.\n"
    "Exit code 1 on a failed check value, damaged entry or missing part file.\n";

const char kTokenHelp[] =
    "usage: stubpack token [TEXT] [--random N] [--reveal SCRAMBLED]\n"
    "\n"
    "Prints the scrambled form of TEXT, or of a random token of N hex digits\n"
    "(default 16) when no TEXT is given; --reveal prints the plain value of a\n"
    "scrambled text (exit code 1 when it cannot be revealed).\n";

std::string DosTimeText(uint32_t t) {
    if (t == 0) return "-";
    char b[32];
    std::snprintf(b, sizeof b, "%04u-%02u-%02u %02u:%02u:%02u", ((t >> 25) & 0x7F) + 1980,
                  (t >> 21) & 0x0F, (t >> 16) & 0x1F, (t >> 11) & 0x1F, (t >> 5) & 0x3F,
                  (t & 0x1F) * 2);
    return b;
}

std::string YesNo(bool b) {
    return b ? "yes" : "no";
}

void PrintBlockItems(const char* title, const std::string& block, const char* const names[],
                     int tokenItem, bool reveal) {
    std::printf("%s (%zu bytes):\n", title, block.size());
    for (int i = 0; i < package::kBlockItemCount; ++i) {
        std::string v = SUB::Get(block, i, "");
        if (i == tokenItem && !v.empty() && reveal) {
            auto plain = package::RevealToken(v);
            v = plain ? *plain + " (revealed)" : v + " (cannot be revealed)";
        }
        std::printf("  %d %-16s %s\n", i, names[i], package::Printable(v).c_str());
    }
}

struct CountSink : package::EntrySink {
    package::EntryHeader header;
    uint64_t content = 0;
    bool Begin(const package::EntryHeader& h) override {
        header = h;
        return true;
    }
    bool Content(const char*, size_t n) override {
        content += n;
        return true;
    }
};

const char* ResultText(package::EntryResult r) {
    switch (r) {
    case package::EntryResult::Ok:
        return "ok";
    case package::EntryResult::Skipped:
        return "skipped (no header)";
    case package::EntryResult::Truncated:
        return "TRUNCATED";
    case package::EntryResult::InflateError:
        return "INFLATE ERROR";
    case package::EntryResult::Stopped:
        return "stopped";
    }
    return "?";
}

class InspectVisitor : public package::PackageVisitor {
  public:
    bool damaged = false;
    bool Part(const package::PartInfo& p, package::ByteSource& src) override {
        std::printf(
            "part %d: %s (%lld bytes, package end %llu), check value %u, computed %u: %s%s\n",
            p.number, p.path.c_str(), (long long)src.Size(), (unsigned long long)p.end,
            p.trailer.CheckValue(), p.computedCheck, p.checkPassed ? "passes" : "FAILS",
            p.trailer.Flag(package::flag::kMorePartsFollow) ? ", more parts follow" : "");
        if (!p.checkPassed) damaged = true;
        return true;
    }
    bool Block(const package::PartInfo& p, package::ByteSource& src,
               const package::BlockInfo& b) override {
        if (b.isHeader) return true;
        CountSink sink;
        std::string error;
        package::EntryResult r = package::DecodeEntry(src, b.block, sink, error);
        if (r != package::EntryResult::Ok && r != package::EntryResult::Skipped) damaged = true;
        std::printf(
            "  %4d  %-10s %10u -> %10llu  %s  %s%s%s%s\n", b.counter - 2,
            b.block.compressed ? "compressed" : "stored", b.block.length,
            (unsigned long long)sink.content, DosTimeText(sink.header.dosTime).c_str(),
            package::Printable(sink.header.name).c_str(),
            sink.header.runEntry.empty()
                ? ""
                : ("  [run: " + package::Printable(sink.header.runEntry) + "]").c_str(),
            r == package::EntryResult::Ok ? "" : "  ",
            r == package::EntryResult::Ok
                ? ""
                : (std::string(ResultText(r)) + (error.empty() ? "" : ": " + error)).c_str());
        return true;
    }
};

} // namespace

int InspectCommand(Args& args) {
    if (args.Help()) {
        std::fputs(kInspectHelp, stdout);
        return 0;
    }
    bool reveal = args.Flag("--reveal");
    std::vector<std::string> pos = args.Positional();
    std::string left = args.Leftover();
    if (!left.empty()) return Fail("inspect: " + left, 2);
    if (pos.size() != 1) return Fail("inspect: expected one FILE (try --help)", 2);
    const std::string& path = pos[0];
    package::StdFileSource src(path);
    if (!src.IsOpen()) return Fail("cannot read " + path);
    package::TGFileInfo info(src);
    const package::PackageTrailer& t = info.Trailer();
    bool image = package::IsExecutableImage(src);
    uint64_t ptr = package::ReadPackageEndPointer(src);
    std::printf("file: %s (%lld bytes)\n", path.c_str(), (long long)src.Size());
    std::printf("executable image (MZ, PE at 256): %s\n", YesNo(image).c_str());
    std::printf("package end pointer: %llu%s\n", (unsigned long long)ptr,
                ptr && ptr < uint64_t(src.Size())
                    ? (" (" + std::to_string(uint64_t(src.Size()) - ptr) +
                       " bytes of signature after the package)")
                          .c_str()
                    : "");
    if (!t.MagicMatches()) {
        std::printf("trailer: magic %08X does not match: not a package\n", t.Magic());
        return 1;
    }
    uint32_t computed = package::ComputeCheckValue(src, t.Size());
    std::printf("trailer: size %u, header blocks %d, package start %u, payload files %u\n",
                t.Size(), t.BlockCount(), t.PackageStart(), t.FileCount());
    std::printf("check value: %u, computed %u: %s\n", t.CheckValue(), computed,
                package::CheckValuePasses(computed, t.CheckValue()) ? "passes" : "FAILS");
    std::printf("flags 0x%02X: space-message %s, more-parts %s, first-disk %s, activity-bar %s, "
                "trace-log %s\n",
                t.Flags(), YesNo(info.AlwaysShowSpaceMessage()).c_str(),
                YesNo(info.MorePartsFollow()).c_str(), YesNo(info.IsFirstDisk()).c_str(),
                YesNo(info.ShowActivityBar()).c_str(), YesNo(info.WriteTraceLog()).c_str());
    std::printf("web-download %s, ask-download %s, agent-copy %s, agent %s\n",
                YesNo(info.IsWebDownload()).c_str(), YesNo(info.AskBeforeDownload()).c_str(),
                YesNo(info.WriteAgentCopy()).c_str(), YesNo(info.IsAutoUpdateAgent()).c_str());
    std::printf("reserved bytes: 0=%u 2=%u 3=%u 20..27=", t.Byte(0), t.Byte(2), t.Byte(3));
    for (size_t i = 20; i < 28; ++i)
        std::printf("%02X", t.Byte(i));
    std::printf(" 64=%u\n", t.Byte(64));
    static const char* const kClusters[] = {"<512", "512", "1K",  "2K",   "4K",
                                            "8K",   "16K", "32K", ">=64K"};
    std::printf("space required:");
    for (int i = 0; i < package::kSpaceValueCount; ++i)
        std::printf(" %s=%u", kClusters[i], t.SpaceValue(i));
    std::printf("\n");

    const std::string& lang = info.LanguageBlock();
    int langs = SUB::Count(lang);
    std::printf("language block (%zu bytes): %d languages\n", lang.size(), langs);
    for (int i = 0; i < langs; ++i) {
        std::string entry = SUB::Get(lang, i, "");
        std::printf("  %s:", package::Printable(SUB::Get(entry, 0, "")).c_str());
        for (int k = 1; k < SUB::Count(entry); ++k)
            std::printf(" %s", package::Printable(SUB::Get(entry, k, "")).c_str());
        std::printf("\n");
    }
    static const char* const kParams[] = {"update-location", "descriptor", "agent-name", "token",
                                          "hidden"};
    PrintBlockItems("parameter block", info.ParameterBlock(), kParams, package::param::kToken,
                    reveal);
    if (t.BlockCount() > 2) {
        static const char* const kDl[] = {"source", "setup-file", "always-download", "token",
                                          "setup-size"};
        PrintBlockItems("download block", info.DownloadBlock(), kDl, package::download::kToken,
                        reveal);
    }

    // A first-disk stub carries no payload; its entries start in part 1.
    std::string walkFrom = path;
    if (info.IsFirstDisk()) {
        walkFrom = package::NthPartName(path, 1);
        std::printf("first disk of a multi-disk set; payload in %s ...\n", walkFrom.c_str());
    }
    std::printf("entries:\n");
    InspectVisitor v;
    std::string error;
    package::WalkResult r = package::WalkPackage(walkFrom, v, error);
    if (r == package::WalkResult::Missing) return Fail("part file missing: " + error);
    if (r == package::WalkResult::CheckFailed) return Fail("check value fails: " + error);
    return v.damaged ? 1 : 0;
}

namespace {

class ExtractVisitor : public package::PackageVisitor, public package::EntrySink {
  public:
    explicit ExtractVisitor(std::string dir) : dir_(std::move(dir)) {}
    std::string error;
    std::string runEntry;
    int written = 0;

    bool Part(const package::PartInfo& p, package::ByteSource&) override {
        if (!p.checkPassed) error = "check value fails in " + p.path;
        return p.checkPassed;
    }
    bool Block(const package::PartInfo& p, package::ByteSource& src,
               const package::BlockInfo& b) override {
        if (b.isHeader) return true;
        std::string err;
        package::EntryResult r = package::DecodeEntry(src, b.block, *this, err);
        CloseOut();
        if (r == package::EntryResult::Ok && pendingTime_) {
            SetFileDosTime(outPath_, pendingTime_);
        }
        if (r == package::EntryResult::Ok || r == package::EntryResult::Skipped) return true;
        if (error.empty())
            error = p.path + " entry at " + std::to_string(b.block.offset) + ": " +
                    (r == package::EntryResult::Truncated      ? "truncated"
                     : r == package::EntryResult::InflateError ? "inflate error: " + err
                                                               : err);
        return false;
    }
    bool Begin(const package::EntryHeader& h) override {
        if (!h.runEntry.empty()) runEntry = h.runEntry;
        if (!package::IsSafeEntryName(h.name)) {
            error = "entry name '" + package::Printable(h.name) + "' would leave the target folder";
            return false;
        }
        std::string rel = h.name;
        for (char& c : rel)
            if (c == '\\') c = '/';
        outPath_ = (fs::path(dir_) / rel).string();
        std::error_code ec;
        fs::create_directories(fs::path(outPath_).parent_path(), ec);
        bool fresh = seen_.insert(rel).second;
        out_ = std::fopen(outPath_.c_str(), fresh ? "wb" : "ab");
        if (!out_) {
            error = "cannot write " + outPath_;
            return false;
        }
        if (fresh) ++written;
        pendingTime_ = h.dosTime;
        return true;
    }
    bool Content(const char* p, size_t n) override {
        if (std::fwrite(p, 1, n, out_) == n) return true;
        error = "cannot write " + outPath_;
        return false;
    }
    ~ExtractVisitor() override { CloseOut(); }

  private:
    void CloseOut() {
        if (out_ && std::fclose(out_) != 0 && error.empty()) error = "cannot write " + outPath_;
        out_ = nullptr;
    }
    std::string dir_, outPath_;
    std::FILE* out_ = nullptr;
    uint32_t pendingTime_ = 0;
    std::set<std::string> seen_;
};

} // namespace

int ExtractCommand(Args& args) {
    if (args.Help()) {
        std::fputs(kExtractHelp, stdout);
        return 0;
    }
    std::vector<std::string> pos = args.Positional();
    std::string left = args.Leftover();
    if (!left.empty()) return Fail("extract: " + left, 2);
    if (pos.size() != 2) return Fail("extract: expected FILE and DIR (try --help)", 2);
    std::string path = pos[0];
    {
        package::StdFileSource src(path);
        if (!src.IsOpen()) return Fail("cannot read " + path);
        package::TGFileInfo info(src);
        if (!info.MagicMatches()) return Fail(path + " is not a package (trailer magic)");
        if (info.IsFirstDisk()) path = package::NthPartName(path, 1);
    }
    std::error_code ec;
    fs::create_directories(pos[1], ec);
    if (!fs::is_directory(pos[1], ec)) return Fail("cannot create the folder " + pos[1]);
    ExtractVisitor v(pos[1]);
    std::string error;
    package::WalkResult r = package::WalkPackage(path, v, error);
    if (r == package::WalkResult::Missing) return Fail("part file missing: " + error);
    if (!v.error.empty()) return Fail(v.error);
    std::printf("extracted %d files to %s%s\n", v.written, pos[1].c_str(),
                v.runEntry.empty() ? "" : ("; run entry: " + v.runEntry).c_str());
    return 0;
}

int TokenCommand(Args& args) {
    if (args.Help()) {
        std::fputs(kTokenHelp, stdout);
        return 0;
    }
    std::string text, reveal;
    if (args.Value("--reveal", reveal)) {
        std::string left = args.Leftover();
        if (!left.empty()) return Fail("token: " + left, 2);
        auto plain = package::RevealToken(reveal);
        if (!plain) return Fail("token: the text cannot be revealed");
        std::printf("%s\n", plain->c_str());
        return 0;
    }
    uint64_t digits = 16;
    bool random = args.Value("--random", text);
    if (random && (!ParseUInt(text, 200, digits) || digits == 0))
        return Fail("token: --random needs 1..200", 2);
    std::vector<std::string> pos = args.Positional();
    std::string left = args.Leftover();
    if (!left.empty()) return Fail("token: " + left, 2);
    if (pos.size() > 1 || (random && !pos.empty()))
        return Fail("token: give one TEXT or --random N", 2);
    std::random_device rd;
    std::mt19937 rng(rd());
    std::string plain;
    if (!pos.empty()) {
        plain = pos[0];
    } else {
        static const char kHex[] = "0123456789ABCDEF";
        for (uint64_t i = 0; i < digits; ++i)
            plain += kHex[rng() % 16];
    }
    if (plain.empty()) return Fail("token: an empty token cannot be used", 2);
    std::string s = package::ScrambleToken(plain, [&rng] { return uint8_t(rng()); });
    if (pos.empty()) std::printf("token: %s\n", plain.c_str());
    std::printf("%s\n", s.c_str());
    return 0;
}

} // namespace stubpack
