// Version keys, OS classes, registry texts, number bases, scrambled values,
// path texts and the self-delete script.
#include "core/util/pathtext.h"
#include "core/util/regtext.h"
#include "core/util/versionkey.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(VersionKeyText, PadsCountsAndDropsNoise) {
    struct Case {
        std::string text;
        int width, count;
        std::string expected;
    } cases[] = {
        {"5, 30, 1", 4, 4, "0005.0030.0001.0000"},
        {"1.2", 3, 4, "001.002.000.000"},
        {"12345", 3, 1, "12345"},
        {"1.0.0.1", 1, 4, "1.0.0.1"},
        {"6.3.9600.16384 (winblue_rtm.130821-1623)", 5, 3, "00006.00003.09600"},
        {"", 2, 2, "00.00"},
        {"v1..2", 2, 3, "01.00.02"},
        {"99999999999999999999999.1", 1, 2, "0.1"},
        {"1.2", 3, 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VersionKey(c.text, c.width, c.count), c.expected) << c.text;
    // Keys of equal width order like the versions.
    EXPECT_LT(VersionKey("1.9", 4, 4), VersionKey("1.10", 4, 4));
}

TEST(OSClassTable, NamesAndFlagsPerPlatform) {
    struct Case {
        uint32_t platform, major, minor, build;
        bool is64, server;
        const char* name;
        uint32_t flag;
    } cases[] = {
        {0, 3, 1, 0, false, false, "32S", 0},
        {1, 4, 0, 950, false, false, "95", 1},
        {1, 4, 10, 1998, false, false, "98", 2},
        {1, 4, 10, 3000, false, false, "ME", 4},
        {1, 4, 90, 3000, false, false, "ME", 4},
        {1, 5, 0, 0, false, false, "9x", 1},
        {2, 4, 0, 1381, false, false, "NT", 8},
        {2, 5, 0, 2195, false, false, "2000", 16},
        {2, 5, 1, 2600, false, false, "XP", 32},
        {2, 5, 1, 2600, true, false, "XP", 32},
        {2, 5, 2, 3790, false, true, "2003", 64},
        {2, 5, 2, 3790, true, false, "XP.64", 256},
        {2, 6, 0, 6000, false, false, "Vista", 128},
        {2, 6, 0, 6000, true, false, "Vista.64", 512},
        {2, 6, 0, 6000, false, true, "2008", 4096},
        {2, 6, 0, 6000, true, true, "2008.64", 8192},
        {2, 6, 1, 7601, false, false, "7", 1024},
        {2, 6, 1, 7601, true, false, "7.64", 2048},
        {2, 6, 1, 7601, true, true, "2008R2.64", 0x4000},
        {2, 6, 1, 7601, false, true, "7", 1024},
        {2, 6, 2, 9200, false, false, "8", 0x8000},
        {2, 6, 2, 9200, true, false, "8.64", 0x10000},
        {2, 6, 2, 9200, true, true, "2012.64", 0x20000},
        {2, 6, 3, 9600, false, false, "8.1", 0x40000},
        {2, 6, 3, 9600, true, false, "8.1.64", 0x80000},
        {2, 6, 3, 9600, true, true, "2012R2.64", 0x100000},
        {2, 10, 0, 19041, false, false, "10", 0x200000},
        {2, 10, 0, 19041, true, false, "10.64", 0x400000},
        {2, 10, 0, 17763, true, true, "10.64", 0x400000},
        {2, 7, 0, 1, false, false, "NTx", 8},
        {3, 10, 0, 1, true, true, "", 0},
    };
    for (const Case& c : cases) {
        OSClassInfo info = OSClassOf(c.platform, c.major, c.minor, c.build, c.is64, c.server);
        EXPECT_EQ(info.name, c.name) << c.platform << " " << c.major << "." << c.minor;
        EXPECT_EQ(info.flag, c.flag) << c.name;
    }
    EXPECT_EQ(OSClassOf(2, 6, 3, 9600, false, false).versionText, "6.3");
    EXPECT_EQ(OSClassOf(1, 4, 10, 3000, false, false).versionText, "4.90");
}

TEST(RegPathText, RootNamesAndSplit) {
    struct Case {
        std::string path;
        uint32_t root;
        std::string subkey;
    } cases[] = {
        {"HKLM", kRootLocalMachine, ""},
        {"Software\\X", kRootCurrentUser, "Software\\X"},
        {"  hkey_local_machine\\SOFTWARE\\A  ", kRootLocalMachine, "SOFTWARE\\A"},
        {"HKCR\\.txt", kRootClassesRoot, ".txt"},
        {"HKU\\.DEFAULT", kRootUsers, ".DEFAULT"},
        {"HKCC\\System", kRootCurrentConfig, "System"},
        {"HKEY_DYN_DATA\\x", kRootDynData, "x"},
        {"HKEY_PERFORMANCE_DATA\\x", kRootCurrentUser, "x"},
        {"HKCU\\", kRootCurrentUser, ""},
        {"", kRootCurrentUser, ""},
    };
    for (const Case& c : cases) {
        std::string subkey = "junk";
        EXPECT_EQ(SplitRegPathOf(c.path, subkey), c.root) << c.path;
        EXPECT_EQ(subkey, c.subkey) << c.path;
    }
}

TEST(RegDataAsText, DwordMultiStringAndOthers) {
    EXPECT_EQ(RegDataText(4, "\xff\xff\xff\xff"s), "4294967295");
    EXPECT_EQ(RegDataText(4, "\x2a\0\0\0"s), "42");
    EXPECT_EQ(RegDataText(4, "\x2a\0"s), "*"); // not 4 bytes: read as text
    EXPECT_EQ(RegDataText(7, "a\0b\0\0"s), "a<0>b");
    EXPECT_EQ(RegDataText(7, "\0\0"s), "");
    EXPECT_EQ(RegDataText(1, "abc\0def\0"s), "abc");
    EXPECT_EQ(RegDataText(3, "raw"s), "raw");
    EXPECT_EQ(RegDataText(1, ""), "");
}

TEST(NumberBases, StrToIntBaseAndHex) {
    EXPECT_EQ(HexToInt64("0x1F", -1), 31);
    EXPECT_EQ(HexToInt64("0X1f", -1), 31);
    EXPECT_EQ(HexToInt64("1G", -1), -1);
    EXPECT_EQ(HexToInt64("", -1), 0);
    EXPECT_EQ(HexToInt64("0x", -1), 0);
    EXPECT_EQ(HexToInt64("FFFFFFFFFFFFFFFF", 0), -1);
    EXPECT_EQ(HexToInt64("7FFFFFFFFFFFFFFF", 0), INT64_MAX);
    EXPECT_EQ(StrToIntBase(" 101 ", 2, -1), 5);
    EXPECT_EQ(StrToIntBase("777", 8, -1), 511);
    EXPECT_EQ(StrToIntBase("19", 8, -1), 17); // a digit above the base counts as itself
    EXPECT_EQ(StrToIntBase("-5", 10, -7), -7);
    // Far too long: wraps, but never undefined.
    StrToIntBase(std::string(200, 'F'), 16, 0);
}

std::string Scramble(const std::string& plain, unsigned char key) {
    std::string out = "Scrambled=01"s + static_cast<char>(key);
    int k = key;
    for (size_t i = 1; i <= plain.size(); ++i) {
        out += static_cast<char>(plain[i - 1] ^ static_cast<unsigned char>((i + k) & 0xFF));
        k = -k;
    }
    return out;
}

TEST(Scrambled, RoundTripAndPassThrough) {
    for (unsigned key : {0u, 1u, 7u, 200u, 255u}) {
        const std::string plain = "Notice <B>text</B>\r\nline 2\x00\xff"s;
        EXPECT_EQ(Unscramble(Scramble(plain, static_cast<unsigned char>(key))), plain) << key;
    }
    // Hand-computed: key 2, "AB": 'A' ^ (1 + 2), 'B' ^ ((2 - 2) & 255).
    EXPECT_EQ(Unscramble("Scrambled=01\x02"s + char('A' ^ 3) + char('B' ^ 0)), "AB");
    EXPECT_EQ(Unscramble("plain text"), "plain text");
    EXPECT_EQ(Unscramble("Scrambled=01"), "Scrambled=01");
    EXPECT_EQ(Unscramble("Scrambled=01\x05"), "");
    EXPECT_EQ(Unscramble("scrambled=01\x05xyz"), "scrambled=01\x05xyz");
}

bool FakeLead(unsigned char c) {
    return c == 0x81;
}

TEST(PathText, TrailingSlashRule) {
    struct Case {
        std::string path;
        bool slash;
        std::string expected;
    } cases[] = {
        {"C:\\", false, "C:"},
        {"C:\\", true, "C:\\"},
        {"C:\\Temp\\", false, "C:\\Temp"},
        {"C:\\Temp", true, "C:\\Temp\\"},
        {"C:", true, "C:\\"},
        {"\\", false, "\\"},
        {"\\", true, "\\"},
        {"", true, ""},
        {"", false, ""},
        {"C:\\x\x81\\", false, "C:\\x\x81\\"}, // second byte of a two-byte character
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathSlashOf(c.path, c.slash, FakeLead), c.expected) << c.path << c.slash;
}

TEST(PathText, CleanPathCollapsesInnerDoubles) {
    struct Case {
        std::string path;
        bool drop;
        std::string expected;
    } cases[] = {
        {"C:\\a\\\\b", false, "C:\\a\\b"},
        {"C:\\a\\\\\\b\\\\c", false, "C:\\a\\b\\c"},
        {"\\\\server\\share\\\\x", false, "\\\\server\\share\\x"},
        {"C:\\\\a", false, "C:\\a"},
        {"C:\\a\\", true, "C:\\a"},
        {"C:\\", true, "C:"},
        {"\\", true, ""},
        {"a\\", true, "a"},
        {"ab", false, "ab"},
        {"\"C:\\a\\\\b\"", false, "\"C:\\a\\b\""},
        {"C:\\\x81\\\\b", false, "C:\\\x81\\\\b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CleanPathOf(c.path, c.drop, FakeLead), c.expected) << c.path;
}

TEST(PathText, BaseNamesAndQueryPaths) {
    EXPECT_EQ(FileBaseName("setup.tar.gz", false), "setup.tar");
    EXPECT_EQ(FileBaseName("setup.tar.gz", true), "setup");
    EXPECT_EQ(FileBaseName("C:\\a.b\\stub", false), "stub");
    EXPECT_EQ(FileBaseName("C:\\a.b\\stub.exe", true), "stub");
    EXPECT_EQ(FileBaseName("", true), "");

    EXPECT_EQ(DiskFreeQueryPath("C:\\Temp\\x", true), "C:\\Temp");
    EXPECT_EQ(DiskFreeQueryPath("c:/Temp/x", true), "c:\\Temp");
    EXPECT_EQ(DiskFreeQueryPath("C:\\Temp", true), "C:\\Temp");
    EXPECT_EQ(DiskFreeQueryPath("c:\\Temp\\x", false), "C:\\");
    EXPECT_EQ(DiskFreeQueryPath("d:", true), "D:\\");
    EXPECT_EQ(DiskFreeQueryPath("", true), "");
}

TEST(SelfDelete, ScriptLines) {
    EXPECT_EQ(SelfDeleteScript("C:\\P F\\a.exe", "C:\\P F", "C:\\T\\_DEL_ME_.BAT", "\"", true),
              ":START\r\n"
              "DEL \"C:\\P F\\a.exe\"\r\n"
              "IF exist \"C:\\P F\\a.exe\" GOTO START\r\n"
              "RD \"C:\\P F\"\r\n"
              "DEL \"C:\\T\\_DEL_ME_.BAT\"\r\n");
    EXPECT_EQ(SelfDeleteScript("C:\\A.EXE", "C:\\", "C:\\T\\B.BAT", "", false),
              ":START\r\nDEL C:\\A.EXE\r\nIF exist C:\\A.EXE GOTO START\r\nDEL C:\\T\\B.BAT\r\n");
}

TEST(ChunkedWrite, ChunkSizes) {
    EXPECT_EQ(WriteChunkSize(0), 0u);
    EXPECT_EQ(WriteChunkSize(500), 500u);
    EXPECT_EQ(WriteChunkSize(10240), 1024u);
    EXPECT_EQ(WriteChunkSize(10250), 1025u);
    EXPECT_EQ(WriteChunkSize(20000), 2000u);
    EXPECT_EQ(WriteChunkSize(50u * 1048576), 1048576u);
}

} // namespace
