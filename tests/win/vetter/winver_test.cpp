// Windows version and platform: the registry values of the prefix decide.
#include "tests/win/vetter/registry_fixtures.h"
#include "tests/win/vetter/vetter_dll.h"

#include <string>

namespace {

using namespace vettertest;

const char kMiniNT[] = "SYSTEM\\CurrentControlSet\\Control\\MiniNT";

TEST(VetterWindowsVersion, RegistryDecides) {
    RegistryWindowsVersion version("6.1", "7601");
    using VersionFn = int (*)(int*, int*, int*);
    int major = -1, minor = -1, build = -1;
    EXPECT_EQ(Export<VersionFn>("?GetWindowsVersion@@YAHPAH00@Z")(&major, &minor, &build), 0);
    EXPECT_EQ(major, 6);
    EXPECT_EQ(minor, 1);
    EXPECT_EQ(build, 7601);
    char text[512];
    ASSERT_TRUE(Export<TextBoolFn>("?Get_Windows_Version_Info_REGISTRY@@YA_NPAD@Z")(text));
    EXPECT_STREQ(text, "6.1.7601");
    EXPECT_FALSE(Export<TextBoolFn>("?Get_Windows_Version_Info_REGISTRY@@YA_NPAD@Z")(nullptr));
    EXPECT_FALSE(Export<BoolFn>("?isWindows2012@@YA_NXZ")());
    EXPECT_FALSE(Export<BoolFn>("?Is_Win2012R2_OS@@YA_NXZ")());
}

TEST(VetterWindowsVersion, MissingBuildNumber) {
    RegistryWindowsVersion version("6.2", nullptr);
    char text[512];
    EXPECT_FALSE(Export<TextBoolFn>("?Get_Windows_Version_Info_REGISTRY@@YA_NPAD@Z")(text));
    EXPECT_STREQ(text, "6.2"); // CurrentVersion alone
    using VersionFn = int (*)(int*, int*, int*);
    int major = 0, minor = 0, build = 0;
    EXPECT_EQ(Export<VersionFn>("?GetWindowsVersion@@YAHPAH00@Z")(&major, &minor, &build), 55);
}

TEST(VetterWindowsVersion, MinimumAndMaximum) {
    auto atLeast = Export<TextBoolFn>("?Is_GreaterEqual_WinMinVer@@YA_NPAD@Z");
    auto atMost = Export<TextBoolFn>("?Is_LessEqual_WinMaxVer@@YA_NPAD@Z");
    auto valid = Export<TextBoolFn>("?Is_Valid_Windows@@YA_NPAD@Z");
    struct Case {
        const char* version;
        const char* build;
        const char* data;
        bool valid;
    } cases[] = {
        {"6.1", "7601", "winminver=\"6.1\"", true},
        {"6.3", "9600", "winmaxver=\"6.2.9200\"", false},
        {"6.1", "7601", "winminver=\"6.2\" winmaxver=\"6.3\"", false},
        {"6.3", "9600", "winminver=\"6.1\" winmaxver=\"6.3.9600\"", true},
        {"6.3", "9600", "winminver=", false},
        {"6.3", "9600", "", false},
    };
    for (const Case& c : cases) {
        RegistryWindowsVersion version(c.version, c.build);
        std::string data = c.data;
        EXPECT_EQ(valid(&data[0]), c.valid) << c.data << " on " << c.version;
        EXPECT_EQ(Condition(4, c.data), c.valid ? 1 : 0) << c.data;
    }
    RegistryWindowsVersion version("6.3", "9600");
    char v1[] = "6.3.9600", v2[] = "6.3.9601", empty[] = "";
    EXPECT_TRUE(atLeast(v1));
    EXPECT_FALSE(atLeast(v2));
    EXPECT_TRUE(atMost(v2));
    EXPECT_FALSE(atLeast(empty));
    EXPECT_FALSE(atMost(nullptr));
    EXPECT_TRUE(Export<BoolFn>("?isWindows2012R2@@YA_NXZ")());
}

TEST(VetterWindowsVersion, MiniNTKeyMeansWinPE) {
    DeleteHklmTree(kMiniNT);
    EXPECT_FALSE(Export<BoolFn>("?Is_WinPE_OS@@YA_NXZ")());
    EXPECT_EQ(Condition(3, "whatever"), 0);
    ASSERT_TRUE(CreateHklmKey(kMiniNT));
    EXPECT_TRUE(Export<BoolFn>("?Is_WinPE_OS@@YA_NXZ")());
    EXPECT_EQ(Condition(3, "whatever"), 1);
    DeleteHklmTree(kMiniNT);
    EXPECT_EQ(Condition(3, ""), 0);
}

// In the 64-bit test build the native architecture is not x86, so the type
// is 64-bit whatever PROCESSOR_ARCHITEW6432 says; the WOW64 decision and the
// retry while unknown are covered by the native tests of the rule.
TEST(VetterWindowsVersion, OsTypeOf64BitWindows) {
    SetEnvironmentVariableA("PROCESSOR_ARCHITEW6432", "IA64");
    EXPECT_TRUE(Export<BoolFn>("?isOSTypeX64@@YA_NXZ")());
    EXPECT_FALSE(Export<BoolFn>("?isOSTypeX86@@YA_NXZ")());
    SetEnvironmentVariableA("PROCESSOR_ARCHITEW6432", nullptr);
    EXPECT_TRUE(Export<BoolFn>("?isOSTypeX64@@YA_NXZ")());
    EXPECT_FALSE(Export<BoolFn>("?isOSTypeX86@@YA_NXZ")());
}

// GetVersionExA reads the version Wine reports to the program, fixed when it
// starts: so the fixed tests run in vetcheck, started with that version.
TEST(VetterWindowsVersion, FixedVersionTestsFollowTheReportedVersion) {
    struct Case {
        const char* wineVersion;
        const char* expected;
    } cases[] = {
        {"win7", "condition 5 \"Is W2K8 R2 OS ?\" = 1"},
        {"win8", "condition 5 \"Is W2K8 R2 OS ?\" = 0"},
    };
    testsupport::TempDir dir;
    for (const Case& c : cases) {
        ASSERT_TRUE(testsupport::SetWineAppVersion("vetcheck.exe", c.wineVersion));
        std::string out = dir.file(std::string(c.wineVersion) + ".txt");
        std::string cmd =
            "cmd /c \"\"" + testsupport::DistDir() + "\\vetcheck.exe\" > \"" + out + "\" 2>&1\"";
        EXPECT_EQ(testsupport::RunAndWait(cmd), 0);
        EXPECT_NE(testsupport::ReadWholeFile(out).find(c.expected), std::string::npos)
            << testsupport::ReadWholeFile(out);
    }
    testsupport::SetWineAppVersion("vetcheck.exe", "");
}

} // namespace
