// Registry values written by the test under HKCU, INI files in a temp folder.
#include "stub/util/registry.h"

#include "stub/util/handles.h"
#include "tests/support/wine_test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

using namespace std::string_literals;

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        subkey_ = "Software\\StubUtilTests\\" + std::to_string(GetCurrentProcessId());
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, subkey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, key_.receive(), nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        key_.reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, subkey_.c_str());
    }
    void Set(const char* name, DWORD type, const std::string& bytes) {
        ASSERT_EQ(RegSetValueExA(key_.get(), name, 0, type,
                                 reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }
    std::string Path() const { return "HKEY_CURRENT_USER\\" + subkey_; }

    std::string subkey_;
    win::RegKey key_;
};

TEST_F(RegistryTest, ValuesOfEveryTypeAsText) {
    Set("Text", REG_SZ, "hello world\0"s);
    Set("Expand", REG_EXPAND_SZ, "%TEMP%\\x\0"s);
    Set("Max", REG_DWORD, "\xff\xff\xff\xff"s);
    Set("Small", REG_DWORD, "\x05\0\0\0"s);
    Set("Multi", REG_MULTI_SZ, "a\0b\0\0"s);
    Set("Binary", REG_BINARY, "ab\0cd"s);
    Set("", REG_SZ, "default value\0"s);

    EXPECT_EQ(RegReadString(Path(), "Text", "d"), "hello world");
    EXPECT_EQ(RegReadString(Path(), "Expand", "d"), "%TEMP%\\x");
    EXPECT_EQ(RegReadString(Path(), "Max", "d"), "4294967295");
    EXPECT_EQ(RegReadString(Path(), "Small", "d"), "5");
    EXPECT_EQ(RegReadString(Path(), "Multi", "d"), "a<0>b");
    EXPECT_EQ(RegReadString(Path(), "Binary", "d"), "ab");
    EXPECT_EQ(RegReadString(Path(), "", "d"), "default value");
    // Short root name, no root name, lower case.
    EXPECT_EQ(RegReadString("HKCU\\" + subkey_, "Text", "d"), "hello world");
    EXPECT_EQ(RegReadString(subkey_, "Text", "d"), "hello world");
    EXPECT_EQ(RegReadString("hkcu\\" + subkey_, "text", "d", true), "hello world");
}

TEST_F(RegistryTest, MissingOrOversizedValuesGiveTheDefault) {
    Set("Huge", REG_SZ, std::string(kValueBufferSize + 10, 'x') + '\0');
    Set("Fits", REG_SZ, std::string(kValueBufferSize - 1, 'y') + '\0');
    EXPECT_EQ(RegReadString(Path(), "Missing", "dflt"), "dflt");
    EXPECT_EQ(RegReadString(Path() + "\\NoSuchKey", "Text", "dflt"), "dflt");
    EXPECT_EQ(RegReadString("HKLM\\SOFTWARE\\NoSuchKey\\Anywhere", "x", "dflt"), "dflt");
    EXPECT_EQ(RegReadString(Path(), "Huge", "dflt"), "dflt");
    EXPECT_EQ(RegReadString(Path(), "Fits", "dflt"), std::string(kValueBufferSize - 1, 'y'));
    EXPECT_EQ(RegReadString("", "x", "dflt"), "dflt");
}

TEST(RegistryRoots, NamesMapToPredefinedKeys) {
    EXPECT_EQ(RootKeyOf("HKLM"), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(RootKeyOf("hkey_classes_root"), HKEY_CLASSES_ROOT);
    EXPECT_EQ(RootKeyOf("HKU"), HKEY_USERS);
    EXPECT_EQ(RootKeyOf("HKCC"), HKEY_CURRENT_CONFIG);
    EXPECT_EQ(RootKeyOf("HKEY_PERFORMANCE_DATA"), HKEY_CURRENT_USER);
    std::string subkey;
    EXPECT_EQ(SplitRegPath("HKLM", subkey), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(subkey, "");
    EXPECT_EQ(SplitRegPath("Software\\X", subkey), HKEY_CURRENT_USER);
    EXPECT_EQ(subkey, "Software\\X");
}

TEST(IniFiles, WriteAndReadBack) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("desc.ini");
    EXPECT_TRUE(WriteIniString(ini, "Update", "Version", "1.2.3"));
    EXPECT_TRUE(WriteIniInt(ini, "Update", "Size", 5000000000LL));
    EXPECT_TRUE(WriteIniInt(ini, "Update", "Neg", -17));
    EXPECT_TRUE(WriteIniString(ini, "Update", "Empty", ""));
    EXPECT_TRUE(WriteIniString(ini, "Update", "Word", "abc"));

    EXPECT_EQ(ReadIniString(ini, "Update", "Version", "d"), "1.2.3");
    EXPECT_EQ(ReadIniString(ini, "update", "VERSION", "d"), "1.2.3");
    EXPECT_EQ(ReadIniInt(ini, "Update", "Size", -1), 5000000000LL);
    EXPECT_EQ(ReadIniInt(ini, "Update", "Neg", 0), -17);
    EXPECT_EQ(ReadIniString(ini, "Update", "Empty", "d"), "d"); // empty value: the default
    EXPECT_EQ(ReadIniInt(ini, "Update", "Word", 42), 42);
    EXPECT_EQ(ReadIniInt(ini, "Update", "Missing", 42), 42);
    EXPECT_EQ(ReadIniString(ini, "Other", "Version", "d"), "d");
    EXPECT_NE(testsupport::ReadWholeFile(ini).find("Version=1.2.3"), std::string::npos);
}

TEST(IniFiles, EmptyNamesNeitherReadNorWrite) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("x.ini");
    EXPECT_FALSE(WriteIniString(ini, "", "k", "v"));
    EXPECT_FALSE(WriteIniString(ini, "s", "", "v"));
    EXPECT_FALSE(WriteIniString("", "s", "k", "v"));
    EXPECT_EQ(GetFileAttributesA(ini.c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_TRUE(testsupport::WriteWholeFile(ini, "[s]\r\nk=v\r\n=empty key\r\n"));
    EXPECT_EQ(ReadIniString(ini, "s", "", "d"), "d");
    EXPECT_EQ(ReadIniString(ini, "", "k", "d"), "d");
    EXPECT_EQ(ReadIniString("", "s", "k", "d"), "d");
    EXPECT_EQ(ReadIniString(dir.file("missing.ini"), "s", "k", "d"), "d");
    EXPECT_EQ(ReadIniString(ini, "s", "k", "d"), "v");
}

TEST(IniFiles, MalformedFilesGiveDefaults) {
    testsupport::TempDir dir;
    const std::string ini = dir.file("bad.ini");
    ASSERT_TRUE(testsupport::WriteWholeFile(
        ini, "garbage\r\n[s\r\nk=1\r\n[t]\r\nnum= 12x \r\nbig=99999999999999999999\r\n"
             "long=" +
                 std::string(20000, 'z') + "\r\n\0\xff\r\n"s));
    EXPECT_EQ(ReadIniInt(ini, "t", "num", 3), 3);
    EXPECT_EQ(ReadIniInt(ini, "t", "big", 3), 3);
    EXPECT_EQ(ReadIniString(ini, "t", "long", "d").size(), kValueBufferSize - 1);
    EXPECT_EQ(ReadIniString(ini, "t", "none", "d"), "d");
}

} // namespace
