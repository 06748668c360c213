// The registry readers and the maker's keys.
#include "tests/win/vetter/registry_fixtures.h"
#include "tests/win/vetter/vetter_dll.h"

#include <string>

namespace {

using namespace vettertest;

const char kScratch[] = "SOFTWARE\\VetterReaderTest";

RegReadFn Reader(const char* name) {
    return Export<RegReadFn>(name);
}
const char kGetRegistryValue[] = "?getRegistryValue@@YAHPAD0HPAXI@Z";
const char kGetSubKeyValue[] = "?getSubKeyValue@@YAHPAD0HPAXI@Z";
const char kGetSubKeyValueX64[] = "?getSubKeyValue_X64@@YAHPAD0HPAXI@Z";

int Read(const char* reader, const char* name, char* out, unsigned size) {
    std::string key = kScratch, n = name;
    return Reader(reader)(&key[0], &n[0], REG_SZ, out, size);
}

TEST(VetterRegistry, NamesAreCaseSensitiveAndLongValuesSkipped) {
    ScratchKey scratch(kScratch);
    std::string big(300, 'b');
    ASSERT_TRUE(SetHklmValue(kScratch, "Name", REG_SZ, "upper", 6));
    ASSERT_TRUE(SetHklmValue(kScratch, "Big", REG_SZ, big.c_str(), 301));
    ASSERT_TRUE(SetHklmValue(kScratch, "After", REG_SZ, "after", 6));
    char out[512];
    memset(out, 0, sizeof out);
    EXPECT_EQ(Read(kGetRegistryValue, "Name", out, sizeof out), 0);
    EXPECT_STREQ(out, "upper");
    EXPECT_EQ(Read(kGetRegistryValue, "NAME", out, sizeof out), 1);
    EXPECT_EQ(Read(kGetRegistryValue, "Big", out, sizeof out), 1); // over 256 bytes
    EXPECT_EQ(Read(kGetRegistryValue, "After", out, sizeof out), 0);
    EXPECT_STREQ(out, "after");
    memset(out, '#', sizeof out);
    EXPECT_EQ(Read(kGetRegistryValue, "Name", out, 3), 0);
    EXPECT_EQ(std::string(out, 4), "upp#"); // never beyond the given size
    std::string missingKey = "SOFTWARE\\VetterNoSuchKey", name = "Name";
    EXPECT_EQ(Reader(kGetRegistryValue)(&missingKey[0], &name[0], 1, out, 10), 1);
}

bool KeyOpens(const char* key, REGSAM view) {
    HKEY k = nullptr;
    bool ok = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ | view, &k) == ERROR_SUCCESS;
    if (k) RegCloseKey(k);
    return ok;
}

struct MakerKeys {
    ScratchKey nvx{"SOFTWARE\\Morwick"};
    ScratchKey nvxWow{"SOFTWARE\\Wow6432Node\\Morwick"};
    ScratchKey klr{"SOFTWARE\\Morwick Alder"};
    ScratchKey klrWow{"SOFTWARE\\Wow6432Node\\Morwick Alder"};
};

void CheckCreateCheck() {
    EXPECT_FALSE(Export<BoolFn>("?checkNVXkey@@YA_NXZ")());
    EXPECT_FALSE(Export<BoolFn>("?createNVXkey@@YA_NXZ")()); // false: the key exists now
    EXPECT_TRUE(Export<BoolFn>("?checkNVXkey@@YA_NXZ")());
    EXPECT_FALSE(Export<BoolFn>("?checkKLRkey@@YA_NXZ")());
    EXPECT_FALSE(Export<BoolFn>("?createKLRkey@@YA_NXZ")());
    EXPECT_TRUE(Export<BoolFn>("?checkKLRkey@@YA_NXZ")());
}

// This prefix reports Windows 7 (6.1) to the test program: the plain keys and
// the default view. The registry's CurrentVersion alone does not change that.
TEST(VetterRegistry, Version61To63UsesTheDefaultView) {
    ScratchKey scratch(kScratch);
    ASSERT_TRUE(SetHklmValue(kScratch, "Only32", REG_SZ, "32", 3, KEY_WOW64_32KEY));
    ASSERT_TRUE(SetHklmValue(kScratch, "Only64", REG_SZ, "64", 3, KEY_WOW64_64KEY));
    RegistryWindowsVersion version("6.3", "9600");
    char out[16] = {};
    EXPECT_EQ(Read(kGetSubKeyValue, "Only32", out, sizeof out), 1);
    EXPECT_EQ(Read(kGetSubKeyValue, "Only64", out, sizeof out), 0);
    EXPECT_STREQ(out, "64");
    EXPECT_EQ(Read(kGetSubKeyValueX64, "Only64", out, sizeof out), 0);
    EXPECT_EQ(Read(kGetRegistryValue, "Only64", out, sizeof out), 0);
    MakerKeys keys;
    CheckCreateCheck();
    EXPECT_TRUE(KeyOpens("SOFTWARE\\Morwick\\Vigilon Suite\\Ascendo", 0));
    EXPECT_TRUE(KeyOpens("SOFTWARE\\Morwick Alder\\Ascendo", 0));
}

// Run by the next test in a copy of this program that Wine starts as Vista
// (6.0), with the registry saying 6.0 too: 64-bit Windows outside 6.1 to 6.3.
TEST(VetterRegistry, DISABLED_OutsideVersion61To63) {
    ScratchKey scratch(kScratch);
    ASSERT_TRUE(SetHklmValue(kScratch, "Only32", REG_SZ, "32", 3, KEY_WOW64_32KEY));
    ASSERT_TRUE(SetHklmValue(kScratch, "Only64", REG_SZ, "64", 3, KEY_WOW64_64KEY));
    RegistryWindowsVersion version("6.0", "6002");
    char out[16] = {};
    EXPECT_EQ(Read(kGetSubKeyValue, "Only32", out, sizeof out), 0);
    EXPECT_STREQ(out, "32");
    EXPECT_EQ(Read(kGetSubKeyValue, "Only64", out, sizeof out), 1);
    EXPECT_EQ(Read(kGetSubKeyValueX64, "Only64", out, sizeof out), 0);
    EXPECT_STREQ(out, "64");
    EXPECT_EQ(Read(kGetSubKeyValueX64, "Only32", out, sizeof out), 1);
    MakerKeys keys;
    CheckCreateCheck();
    EXPECT_TRUE(
        KeyOpens("SOFTWARE\\Wow6432Node\\Morwick\\Vigilon Suite\\Ascendo", KEY_WOW64_32KEY));
    EXPECT_FALSE(KeyOpens("SOFTWARE\\Morwick\\Vigilon Suite\\Ascendo", KEY_WOW64_64KEY));
}

TEST(VetterRegistry, OutsideVersion61To63InAVistaProcess) {
    char self[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string exe = self;
    std::string name = exe.substr(exe.find_last_of('\\') + 1);
    ASSERT_TRUE(testsupport::SetWineAppVersion(name, "vista"));
    long rc =
        testsupport::RunAndWait("\"" + exe +
                                "\" --gtest_also_run_disabled_tests "
                                "--gtest_filter=VetterRegistry.DISABLED_OutsideVersion61To63");
    testsupport::SetWineAppVersion(name, "");
    EXPECT_EQ(rc, 0);
}

} // namespace
