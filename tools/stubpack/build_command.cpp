#include "core/package/entry.h"
#include "core/package/format.h"
#include "core/package/tgfileinfo.h"
#include "core/package/token.h"
#include "core/package/trailer.h"
#include "core/package/writer.h"
#include "core/util/ksub.h"
#include "tools/stubpack/commands.h"
#include "tools/stubpack/files.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace stubpack {

namespace {

const char kBuildHelp[] =
    "usage: stubpack build --out FILE [--payload DIR] [OPTIONS]\n"
    "\n"
    "Appends a package to a copy of the stub: the language and parameter blocks\n"
    "(and a download block when any --download-* option is given), every file\n"
    "below DIR as a payload entry, and the trailer.\n"
    "\n"
    "input and output:\n"
    "  --out FILE              package to write (part files FILE.001, ... with --disk-size)\n"
    "  --stub FILE             stub executable (default dist/stub.exe)\n"
    "  --payload DIR           payload folder, read recursively\n"
    "  --lang FILE             language file: first line its name, then key=value lines;\n"
    "                          repeat for more languages\n"
    "  --run NAME              payload file to start after extraction (default Engine.exe\n"
    "                          when the payload has one at its top)\n"
    "  --run-args TEXT         arguments stored after the run marker\n"
    "  --no-run                mark no file to run\n"
    "parameter block:\n"
    "  --update-location TEXT  item 0: where the agent fetches its descriptor\n"
    "  --descriptor NAME       item 1: update descriptor file name\n"
    "  --agent-name NAME       item 2: file name of the agent program\n"
    "  --token TEXT            item 3: secret token in plain text (stored scrambled)\n"
    "  --hidden                item 4 = 1: run hidden\n"
    "download block (web-download stub):\n"
    "  --download-source TEXT  item 0: URL base or folder of the setup file\n"
    "  --download-file NAME    item 1: setup file name\n"
    "  --always-download       item 2 = 1\n"
    "  --download-token TEXT   item 3: token in plain text (stored scrambled)\n"
    "  --setup-file PATH       the setup file: item 4 is its size (item 1 its name\n"
    "                          unless --download-file is given)\n"
    "  --setup-size BYTES      item 4 given directly\n"
    "trailer:\n"
    "  --web-download          byte 66: web-download stub (no payload)\n"
    "  --ask-download          byte 67: ask before downloading\n"
    "  --agent-copy            byte 68: write the agent copy while extracting\n"
    "  --agent                 byte 69: this executable is an auto-update agent\n"
    "  --space-message         flag bit 0: always show the space message\n"
    "  --activity-bar          flag bit 3: show the activity bar while extracting\n"
    "  --trace-log             flag bit 4: write the trace log (agents)\n"
    "  --flags N               further bits of flag byte 65 (0..255)\n"
    "  --set-byte OFFSET=VALUE a reserved trailer byte (0, 2, 3, 20..27, 64)\n"
    "compression and layout:\n"
    "  --level N               zlib level 0..9 (default 6)\n"
    "  --threads N             compression threads (default: all cores)\n"
    "  --disk-size SIZE        split into a first-disk stub and part files of at most\n"
    "                          SIZE bytes per disk (suffix K, M or G)\n"
    "signing:\n"
    "  --sign                  sign the package (and part 1) with osslsigncode\n"
    "  --cert FILE --key FILE  certificate and key for signing\n"
    "  --sign-pass TEXT        key password\n"
    "  --sign-arg ARG          further osslsigncode argument (repeatable)\n"
    "  --quiet                 no progress line\n";

bool ReadLanguageFile(const std::string& path, std::string& entry, std::string& error) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        error = "cannot read language file " + path;
        return false;
    }
    std::string name;
    std::string pairs;
    size_t lineNo = 0;
    for (size_t pos = 0; pos < text.size();) {
        size_t nl = text.find('\n', pos);
        std::string line = text.substr(pos, nl == std::string::npos ? nl : nl - pos);
        pos = nl == std::string::npos ? text.size() : nl + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        for (unsigned char c : line)
            if (c == 0 || c == uint8_t(package::kLanguageEntryDelimiter) ||
                c == uint8_t(package::kLanguageListDelimiter)) {
                error = path + ":" + std::to_string(lineNo) + ": bytes 0x00..0x02 cannot be stored";
                return false;
            }
        if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
        if (name.empty()) {
            name = line;
            continue;
        }
        if (line.find('=') == std::string::npos) {
            error = path + ":" + std::to_string(lineNo) + ": expected key=value";
            return false;
        }
        pairs += line;
        pairs += package::kLanguageEntryDelimiter;
    }
    if (name.empty()) {
        error = "language file " + path + " names no language";
        return false;
    }
    entry = std::string(1, package::kLanguageEntryDelimiter) + name +
            package::kLanguageEntryDelimiter + pairs;
    return true;
}

bool BlockList(const std::vector<std::string>& items, std::string& list, std::string& error,
               const char* what) {
    for (const std::string& item : items)
        if (item.find('\0') != std::string::npos) {
            error = std::string(what) + " items cannot hold the byte 0";
            return false;
        }
    std::string joined("|");
    bool plain = true;
    for (const std::string& item : items) {
        if (item.find('|') != std::string::npos) plain = false;
        joined += item + "|";
    }
    // A "|" inside an item makes the list take another delimiter.
    list = plain ? joined : SUB::FromArray(items, false);
    if (SUB::Count(list) != int(items.size())) {
        error = std::string("the ") + what + " items cannot be delimited";
        return false;
    }
    return true;
}

std::string Scramble(const std::string& plain) {
    static std::mt19937 rng{std::random_device{}()};
    return package::ScrambleToken(plain, [] { return uint8_t(rng()); });
}

class ProgressLine {
  public:
    explicit ProgressLine(bool quiet) : quiet_(quiet), start_(Clock::now()) {}
    ~ProgressLine() {
        if (shown_) std::fputc('\n', stderr);
    }
    void Update(uint64_t done, uint64_t total) {
        if (quiet_) return;
        auto now = Clock::now();
        if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(250))
            return;
        last_ = now;
        shown_ = true;
        std::fprintf(stderr, "\rstubpack: packing %3d%%  %llu / %llu MB",
                     total ? int(done * 100 / total) : 100, (unsigned long long)(done >> 20),
                     (unsigned long long)(total >> 20));
        std::fflush(stderr);
    }

  private:
    using Clock = std::chrono::steady_clock;
    bool quiet_, shown_ = false;
    Clock::time_point start_, last_;
};

bool SignFile(const std::string& path, const std::string& cert, const std::string& key,
              const std::string& pass, const std::vector<std::string>& extra, std::string& error) {
    std::string unsigned_ = path + ".unsigned";
    std::error_code ec;
    fs::rename(path, unsigned_, ec);
    if (ec) {
        error = "cannot rename " + path + " for signing: " + ec.message();
        return false;
    }
    std::vector<std::string> cmd = {"osslsigncode", "sign", "-certs", cert, "-key", key};
    if (!pass.empty()) cmd.insert(cmd.end(), {"-pass", pass});
    cmd.insert(cmd.end(), extra.begin(), extra.end());
    cmd.insert(cmd.end(), {"-in", unsigned_, "-out", path});
    int rc = RunProgram(cmd);
    if (rc != 0) {
        fs::remove(path, ec);
        fs::rename(unsigned_, path, ec);
        error = "osslsigncode failed on " + path + " (exit code " + std::to_string(rc) + ")";
        return false;
    }
    fs::remove(unsigned_, ec);
    // The signed file must still read as the same package and pass its check.
    package::StdFileSource src(path);
    package::PackageTrailer t;
    if (!package::ReadTrailer(src, t) || !t.MagicMatches() ||
        !package::CheckValuePasses(package::ComputeCheckValue(src, t.Size()), t.CheckValue())) {
        error = "the signed file " + path + " no longer reads as a package";
        return false;
    }
    return true;
}

} // namespace

int BuildCommand(Args& args) {
    if (args.Help()) {
        std::fputs(kBuildHelp, stdout);
        return 0;
    }
    package::BuildOptions opt;
    std::string out, stubPath = "dist/stub.exe", payloadDir, runName, runArgs, text, error;
    if (!args.Value("--out", out)) return Fail("build: --out FILE is required", 2);
    args.Value("--stub", stubPath);
    bool hasPayload = args.Value("--payload", payloadDir);
    bool haveRun = args.Value("--run", runName);
    args.Value("--run-args", runArgs);
    bool noRun = args.Flag("--no-run");
    std::vector<std::string> langFiles = args.Values("--lang");

    std::string params[package::kBlockItemCount], dl[package::kBlockItemCount];
    args.Value("--update-location", params[package::param::kUpdateLocation]);
    args.Value("--descriptor", params[package::param::kDescriptorName]);
    args.Value("--agent-name", params[package::param::kAgentName]);
    std::string token, dlToken, setupFile, setupSize;
    bool hasToken = args.Value("--token", token);
    params[package::param::kRunHidden] = args.Flag("--hidden") ? "1" : "0";

    bool dlAny = false;
    dlAny |= args.Value("--download-source", dl[package::download::kSource]);
    dlAny |= args.Value("--download-file", dl[package::download::kSetupFile]);
    bool always = args.Flag("--always-download");
    dlAny |= always;
    dl[package::download::kAlwaysDownload] = always ? "1" : "0";
    bool hasDlToken = args.Value("--download-token", dlToken);
    dlAny |= hasDlToken;
    bool hasSetupFile = args.Value("--setup-file", setupFile);
    bool hasSetupSize = args.Value("--setup-size", setupSize);
    dlAny |= hasSetupFile || hasSetupSize;

    package::PackageTrailer& t = opt.trailer;
    bool web = args.Flag("--web-download");
    t.SetByte(package::field::kWebDownload, web);
    t.SetByte(package::field::kAskDownload, args.Flag("--ask-download"));
    t.SetByte(package::field::kWriteAgentCopy, args.Flag("--agent-copy"));
    t.SetByte(package::field::kIsAgent, args.Flag("--agent"));
    t.SetFlag(package::flag::kAlwaysShowSpace, args.Flag("--space-message"));
    t.SetFlag(package::flag::kActivityBar, args.Flag("--activity-bar"));
    t.SetFlag(package::flag::kTraceLog, args.Flag("--trace-log"));
    uint64_t n;
    if (args.Value("--flags", text)) {
        if (!ParseUInt(text, 255, n)) return Fail("build: --flags needs a number 0..255", 2);
        t.SetByte(package::field::kFlags, uint8_t(t.Flags() | n));
    }
    for (const std::string& sb : args.Values("--set-byte")) {
        size_t eq = sb.find('=');
        uint64_t off, val;
        if (eq == std::string::npos || !ParseUInt(sb.substr(0, eq), 73, off) ||
            !ParseUInt(sb.substr(eq + 1), 255, val))
            return Fail("build: --set-byte needs OFFSET=VALUE", 2);
        bool reserved = off == 0 || off == 2 || off == 3 || (off >= 20 && off <= 27) || off == 64;
        if (!reserved)
            return Fail("build: byte " + std::to_string(off) +
                            " is not a reserved trailer byte (0, 2, 3, 20..27, 64)",
                        2);
        t.SetByte(size_t(off), uint8_t(val));
    }
    if (args.Value("--level", text)) {
        if (!ParseUInt(text, 9, n)) return Fail("build: --level needs 0..9", 2);
        opt.level = int(n);
    }
    if (args.Value("--threads", text)) {
        if (!ParseUInt(text, 256, n) || n == 0) return Fail("build: --threads needs 1..256", 2);
        opt.threads = unsigned(n);
    }
    if (args.Value("--disk-size", text) && !ParseSize(text, opt.diskSize))
        return Fail("build: --disk-size needs a size such as 650M", 2);
    bool sign = args.Flag("--sign");
    std::string cert, key, pass;
    bool hasCert = args.Value("--cert", cert), hasKey = args.Value("--key", key);
    args.Value("--sign-pass", pass);
    std::vector<std::string> signArgs = args.Values("--sign-arg");
    bool quiet = args.Flag("--quiet");
    std::string left = args.Leftover();
    if (!left.empty()) return Fail("build: " + left, 2);
    if (sign && (!hasCert || !hasKey)) return Fail("build: --sign needs --cert and --key", 2);
    if (web && hasPayload) return Fail("build: a web-download stub carries no payload", 2);
    if (web && !dlAny) return Fail("build: --web-download needs the --download-* options", 2);

    if (!ReadWholeFile(stubPath, opt.stubImage)) return Fail("cannot read the stub " + stubPath);
    for (const std::string& lf : langFiles) {
        std::string entry;
        if (!ReadLanguageFile(lf, entry, error)) return Fail(error);
        if (opt.languageBlock.empty()) opt.languageBlock = package::kLanguageListDelimiter;
        opt.languageBlock += entry + package::kLanguageListDelimiter;
    }
    // Empty items are stored as such; a present key with an empty value is "no token".
    if (hasToken) params[package::param::kToken] = Scramble(token);
    std::vector<std::string> items(params, params + package::kBlockItemCount);
    if (!BlockList(items, opt.parameterBlock, error, "parameter block")) return Fail(error);

    if (dlAny) {
        if (hasDlToken) dl[package::download::kToken] = Scramble(dlToken);
        if (hasSetupFile) {
            std::error_code ec;
            uint64_t size = fs::file_size(setupFile, ec);
            if (ec) return Fail("cannot read the setup file " + setupFile);
            dl[package::download::kSetupSize] = std::to_string(size);
            if (dl[package::download::kSetupFile].empty())
                dl[package::download::kSetupFile] = fs::path(setupFile).filename().string();
        } else if (hasSetupSize) {
            if (!ParseUInt(setupSize, UINT64_MAX, n))
                return Fail("build: --setup-size needs a number", 2);
            dl[package::download::kSetupSize] = setupSize;
        }
        std::vector<std::string> d(dl, dl + package::kBlockItemCount);
        opt.hasDownloadBlock = true;
        if (!BlockList(d, opt.downloadBlock, error, "download block")) return Fail(error);
    }

    if (hasPayload && !ScanPayload(payloadDir, opt.files, error)) return Fail(error);
    if (!noRun) {
        std::string want = haveRun ? runName : "Engine.exe";
        std::replace(want.begin(), want.end(), '/', '\\');
        bool found = false;
        for (package::PayloadFile& f : opt.files)
            if (SameText(f.storedName, want)) {
                f.run = found = true;
                f.runArgs = runArgs;
                break;
            }
        if (haveRun && !found) return Fail("build: --run " + runName + " is not in the payload");
        if (found && runArgs.find_first_of(std::string("|\0", 2)) != std::string::npos)
            return Fail("build: --run-args cannot hold '|'");
    }

    ProgressLine progress(quiet);
    opt.progress = [&progress](uint64_t done, uint64_t total) { progress.Update(done, total); };
    package::BuildResult result;
    if (!package::BuildPackage(opt, out, result, error)) return Fail(error);
    if (sign) {
        // The first-disk stub and part 1 are executables; later parts are data only.
        for (size_t i = 0; i < result.outputs.size() && i < 2; ++i)
            if (!SignFile(result.outputs[i], cert, key, pass, signArgs, error)) return Fail(error);
    }
    if (!quiet) {
        std::fprintf(
            stderr, "stubpack: wrote %s: %zu files, %zu entries%s\n", out.c_str(), opt.files.size(),
            result.entries.size(),
            result.outputs.size() > 1
                ? (", " + std::to_string(result.outputs.size() - 1) + " part files").c_str()
                : "");
    }
    return 0;
}

} // namespace stubpack
