#include "core/package/tgfileinfo.h"
#include "core/package/trailer.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

// The tool as built beside this test program.
std::string Stubpack() {
    return (fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" / "stubpack" /
            "stubpack")
        .string();
}

struct CliResult {
    int code;
    std::string out;
};

CliResult Exec(const std::string& args) {
    std::string cmd = Stubpack() + " " + args + " 2>&1";
    CliResult r{-1, ""};
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, n);
    int st = pclose(p);
    r.code = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

void Write(const fs::path& p, const std::string& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string ReadAll(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

class StubpackCli : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::exists(Stubpack())) GTEST_SKIP() << "stubpack is not built: " << Stubpack();
        dir_ = fs::temp_directory_path() /
               ("stubpack_cli_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        // A synthetic stub: MZ, PE at 256, 248..255 zero.
        std::string stub(2048, '\0');
        stub[0] = 'M', stub[1] = 'Z', stub[256] = 'P', stub[257] = 'E';
        Write(dir_ / "stub.exe", stub);
        Write(dir_ / "pay" / "Engine.exe", "engine bytes");
        Write(dir_ / "pay" / "data" / "Vetter.dll", std::string(5000, 'v'));
        Write(dir_ / "en.txt", "# comment\nEnglish\ns0=Demo Setup\r\ns6=\n");
        Write(dir_ / "de.txt", "German\ns0=Demo Einrichtung\n");
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string P(const std::string& rel) { return (dir_ / rel).string(); }
    std::string BuildArgs() {
        return "build --stub " + P("stub.exe") + " --payload " + P("pay") + " --lang " +
               P("en.txt") + " --lang " + P("de.txt") + " --quiet";
    }
    fs::path dir_;
};

TEST_F(StubpackCli, EveryCommandHasHelp) {
    for (const char* cmd :
         {"--help", "build --help", "inspect --help", "extract --help", "token --help"}) {
        CliResult r = Exec(cmd);
        EXPECT_EQ(r.code, 0) << cmd;
        EXPECT_NE(r.out.find("usage: stubpack"), std::string::npos) << cmd;
    }
    EXPECT_EQ(Exec("").code, 2);
    EXPECT_EQ(Exec("frobnicate").code, 2);
}

TEST_F(StubpackCli, BuildInspectExtractRoundTrip) {
    CliResult b = Exec(BuildArgs() + " --out " + P("p.exe") +
                       " --token Secret-42 --hidden --agent-name Agent.exe --space-message"
                       " --run-args '/S /v'");
    ASSERT_EQ(b.code, 0) << b.out;
    package::StdFileSource src(P("p.exe"));
    package::TGFileInfo info(src);
    EXPECT_EQ(info.Token(true), "Secret-42");
    EXPECT_NE(info.Token(false), "Secret-42");
    EXPECT_TRUE(info.RunHidden());
    EXPECT_TRUE(info.AlwaysShowSpaceMessage());
    EXPECT_EQ(info.LanguageBlock(), "\x02\x01"
                                    "English\x01s0=Demo Setup\x01s6=\x01\x02\x01"
                                    "German\x01s0=Demo Einrichtung\x01\x02");

    CliResult i = Exec("inspect " + P("p.exe"));
    EXPECT_EQ(i.code, 0) << i.out;
    EXPECT_NE(i.out.find("[run: Engine.exe*/S /v]"), std::string::npos) << i.out;
    EXPECT_NE(i.out.find("data\\Vetter.dll"), std::string::npos) << i.out;
    EXPECT_NE(i.out.find("check value"), std::string::npos);
    EXPECT_EQ(i.out.find("Secret-42"), std::string::npos);
    EXPECT_NE(Exec("inspect --reveal " + P("p.exe")).out.find("Secret-42 (revealed)"),
              std::string::npos);

    CliResult x = Exec("extract " + P("p.exe") + " " + P("out"));
    ASSERT_EQ(x.code, 0) << x.out;
    EXPECT_EQ(ReadAll(dir_ / "out" / "Engine.exe"), "engine bytes");
    EXPECT_EQ(ReadAll(dir_ / "out" / "data" / "Vetter.dll"), std::string(5000, 'v'));
    // The DOS time (2-second resolution) comes back.
    auto a = fs::last_write_time(dir_ / "pay" / "Engine.exe");
    auto c = fs::last_write_time(dir_ / "out" / "Engine.exe");
    EXPECT_LE(std::chrono::abs(a - c), std::chrono::seconds(2));
}

TEST_F(StubpackCli, ClearErrorsForBadInput) {
    Write(dir_ / "notpe.exe", std::string(1024, 'x'));
    Write(dir_ / "badname" / "a|b.txt", "x");
    struct Case {
        std::string args;
        const char* message;
    } cases[] = {
        {"build --stub " + P("stub.exe") + " --out " + P("o.exe") + " --payload " + P("missing"),
         "does not exist"},
        {"build --stub " + P("nostub.exe") + " --payload " + P("pay") + " --out " + P("o.exe"),
         "cannot read the stub"},
        {"build --stub " + P("notpe.exe") + " --payload " + P("pay") + " --out " + P("o.exe"),
         "PE header at offset 256"},
        {"build --stub " + P("stub.exe") + " --payload " + P("badname") + " --out " + P("o.exe"),
         "cannot be stored"},
        {BuildArgs() + " --out " + P("o.exe") + " --run Missing.exe", "is not in the payload"},
        {BuildArgs() + " --out " + P("o.exe") + " --level 11", "--level"},
        {BuildArgs() + " --out " + P("o.exe") + " --bogus", "unknown or incomplete option"},
        {BuildArgs() + " --out " + P("o.exe") + " --set-byte 65=1", "not a reserved"},
        {"inspect " + P("nofile"), "cannot read"},
        {"extract " + P("stub.exe") + " " + P("x"), "not a package"},
        {"token --reveal plain", "cannot be revealed"},
    };
    for (const Case& c : cases) {
        CliResult r = Exec(c.args);
        EXPECT_NE(r.code, 0) << c.args;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.args << "\n" << r.out;
    }
    EXPECT_FALSE(fs::exists(dir_ / "o.exe"));
}

TEST_F(StubpackCli, TokenScramblesWhatTheStubReveals) {
    for (const char* plain : {"abc", "abcd", "0123456789ABCDE", "a much longer secret token!"}) {
        CliResult s = Exec(std::string("token '") + plain + "'");
        ASSERT_EQ(s.code, 0);
        std::string scrambled = s.out.substr(0, s.out.find('\n'));
        CliResult r = Exec("token --reveal " + scrambled);
        EXPECT_EQ(r.out, std::string(plain) + "\n");
    }
    CliResult rnd = Exec("token --random 20");
    EXPECT_EQ(rnd.code, 0);
    EXPECT_EQ(rnd.out.rfind("token: ", 0), 0u);
}

TEST_F(StubpackCli, WebDownloadStubTakesTheSizeFromTheSetupFile) {
    Write(dir_ / "Setup.exe", std::string(123456, 's'));
    CliResult b = Exec("build --stub " + P("stub.exe") + " --out " + P("web.exe") +
                       " --web-download --ask-download --download-source http://srv/pkg/"
                       " --setup-file " +
                       P("Setup.exe") + " --download-token T1 --always-download --quiet");
    ASSERT_EQ(b.code, 0) << b.out;
    package::StdFileSource src(P("web.exe"));
    package::TGFileInfo info(src);
    EXPECT_TRUE(info.IsWebDownload() && info.AskBeforeDownload() && info.AlwaysDownload());
    EXPECT_EQ(info.SetupFileName(), "Setup.exe");
    EXPECT_EQ(info.SetupFileSize(), "123456");
    EXPECT_EQ(info.DownloadToken(), "T1");
    EXPECT_EQ(info.FilesCount(), 0u);
    CliResult i = Exec("inspect " + P("web.exe"));
    EXPECT_EQ(i.code, 0) << i.out;
    EXPECT_NE(i.out.find("web-download yes"), std::string::npos) << i.out;
    EXPECT_EQ(Exec("build --stub " + P("stub.exe") + " --out " + P("w2.exe") +
                   " --web-download --payload " + P("pay"))
                  .code,
              2);
}

TEST_F(StubpackCli, MultiDiskSetInspectsAndExtracts) {
    Write(dir_ / "pay" / "big.bin", std::string(40000, 'b'));
    for (int i = 0; i < 5; ++i) {
        std::mt19937 rng{unsigned(i)};
        std::string r(20000, '\0');
        for (char& ch : r)
            ch = char(rng());
        Write(dir_ / "pay" / ("r" + std::to_string(i)), r);
    }
    CliResult b = Exec(BuildArgs() + " --out " + P("set.exe") + " --disk-size 30K");
    ASSERT_EQ(b.code, 0) << b.out;
    ASSERT_TRUE(fs::exists(dir_ / "set.exe.003"));
    CliResult i = Exec("inspect " + P("set.exe"));
    EXPECT_EQ(i.code, 0) << i.out;
    EXPECT_NE(i.out.find("first disk of a multi-disk set"), std::string::npos) << i.out;
    EXPECT_NE(i.out.find("part 3:"), std::string::npos) << i.out;
    CliResult x = Exec("extract " + P("set.exe.001") + " " + P("out"));
    ASSERT_EQ(x.code, 0) << x.out;
    EXPECT_EQ(ReadAll(dir_ / "out" / "big.bin"), std::string(40000, 'b'));
    EXPECT_EQ(ReadAll(dir_ / "out" / "r4"), ReadAll(dir_ / "pay" / "r4"));
    // A missing part is reported.
    fs::remove(dir_ / "set.exe.002");
    CliResult m = Exec("extract " + P("set.exe") + " " + P("out2"));
    EXPECT_NE(m.code, 0);
    EXPECT_NE(m.out.find("part file missing"), std::string::npos) << m.out;
}

TEST_F(StubpackCli, SignedPackageStillReadsAndPassesItsCheck) {
    if (std::system("command -v osslsigncode >/dev/null && command -v openssl >/dev/null") != 0)
        GTEST_SKIP() << "osslsigncode or openssl missing";
    std::string cert = P("cert.pem"), key = P("key.pem");
    std::string gen =
        "openssl req -x509 -newkey rsa:2048 -nodes -keyout " + key + " -out " + cert +
        " -days 30 -subj /CN=Test -addext extendedKeyUsage=codeSigning >/dev/null 2>&1";
    ASSERT_EQ(std::system(gen.c_str()), 0);
    // Prefer the real stub: osslsigncode wants a well-formed PE image.
    const char* source = std::getenv("STUB_SOURCE");
    fs::path real = source ? fs::path(source) / "dist" / "stub.exe" : fs::path();
    if (real.empty() || !fs::exists(real)) GTEST_SKIP() << "dist/stub.exe not built";
    CliResult b =
        Exec("build --stub " + real.string() + " --payload " + P("pay") + " --out " +
             P("signed.exe") + " --token X --sign --cert " + cert + " --key " + key + " --quiet");
    ASSERT_EQ(b.code, 0) << b.out;
    std::string verify =
        "osslsigncode verify -CAfile " + cert + " -in " + P("signed.exe") + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(verify.c_str()), 0);
    package::StdFileSource src(P("signed.exe"));
    uint64_t end = package::ReadPackageEndPointer(src);
    EXPECT_GT(uint64_t(src.Size()), end); // the signature lies after the package
    package::TGFileInfo info(src);
    ASSERT_TRUE(info.MagicMatches());
    EXPECT_EQ(info.Token(true), "X");
    EXPECT_TRUE(package::CheckValuePasses(package::ComputeCheckValue(src, 74), info.CheckValue()));
    CliResult x = Exec("extract " + P("signed.exe") + " " + P("out"));
    ASSERT_EQ(x.code, 0) << x.out;
    EXPECT_EQ(ReadAll(dir_ / "out" / "Engine.exe"), "engine bytes");
    EXPECT_EQ(Exec("inspect " + P("signed.exe")).code, 0);
}

} // namespace
