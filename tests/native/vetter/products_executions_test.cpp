#include "core/vetter/executions.h"
#include "core/vetter/products.h"
#include "core/vetter/tables.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace vetter;

const char* kHostmon1 = "{7B21C0D4-5E3A-4C19-9F02-1D6E8A4B3C70}";
const char* kHostmon2 = "{2C9E4A61-0B7D-4E58-A3F1-6D02B7C9E814}";
const char* kMoba = "{E4D07A92-61C3-4B8F-8E25-3F9A0C1D7B46}";

struct FakeInstaller {
    std::map<std::string, int> results; // missing: not installed
    std::vector<std::string> asked;
    VersionLookupFn fn() {
        return [this](const char* code) {
            asked.push_back(code);
            auto it = results.find(code);
            return it == results.end() ? int(RET_NOTINSTALLED) : it->second;
        };
    }
};

TEST(Products, WalksInTableOrder) {
    FakeInstaller only2;
    only2.results[kHostmon2] = RET_OK;
    EXPECT_TRUE(AnyProductInstalled("HOSTMON", only2.fn()));
    EXPECT_EQ(only2.asked, (std::vector<std::string>{kHostmon1, kHostmon2}));

    FakeInstaller noVersion;
    noVersion.results[kHostmon1] = RET_NOVERSION;
    EXPECT_TRUE(AnyProductInstalled("HOSTMON", noVersion.fn()));

    FakeInstaller badCall;
    badCall.results[kHostmon1] = RET_BADCALL;
    badCall.results[kHostmon2] = RET_OK;
    EXPECT_FALSE(AnyProductInstalled("HOSTMON", badCall.fn())); // 3 ends the walk

    FakeInstaller fatal;
    fatal.results[kHostmon1] = RET_FATAL_ERROR;
    fatal.results[kHostmon2] = RET_OK;
    EXPECT_TRUE(AnyProductInstalled("HOSTMON", fatal.fn()));

    FakeInstaller moba;
    moba.results[kMoba] = RET_OK;
    EXPECT_FALSE(AnyProductInstalled("hostmon", moba.fn())); // keys are case-sensitive
    EXPECT_TRUE(AnyProductInstalled("MOBA", moba.fn()));
}

TEST(Products, RivalRule) {
    FakeInstaller only2;
    only2.results[kHostmon2] = RET_OK;
    EXPECT_TRUE(RivalInstalled("appname=\"MOBA\" rivappname=\"HOSTMON\"", only2.fn()));
    EXPECT_FALSE(RivalInstalled("appname=\"OTHER\" rivappname=\"HOSTMON\"", only2.fn()));
    EXPECT_FALSE(RivalInstalled("appname=\"MOBA\" rivappname=\"MOBA\"", only2.fn()));
    EXPECT_FALSE(RivalInstalled("appname=\"MOBA\"", only2.fn()));
    FakeInstaller none;
    EXPECT_FALSE(RivalInstalled("appname=\"HOSTMON\" rivappname=\"MOBA\"", none.fn()));
    EXPECT_EQ(none.asked, std::vector<std::string>{kMoba});
}

TEST(Products, AscendoPlacement) {
    struct Case {
        SystemKind s;
        const char* path;
        View view;
    } cases[] = {
        {{true, false}, kAscendoKey, View::Default},
        {{false, true}, kAscendoKey, View::Default},
        {{false, false}, kAscendoKeyWow, View::Wow32},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(AscendoKeyPath(c.s), c.path);
        EXPECT_EQ(AscendoView(c.s), c.view);
    }
    EXPECT_STREQ(OldAscendoKeyPath({false, false}), kOldAscendoKeyWow);
    EXPECT_STREQ(OldAscendoKeyPath({true, false}), kOldAscendoKey);
    EXPECT_EQ(X64ReaderView({false, false}, true), View::Wow64);
    EXPECT_EQ(X64ReaderView({true, false}, false), View::Default);
    EXPECT_EQ(X64ReaderView({true, true}, false), View::Wow64);
}

TEST(Executions, FoldersAndTargets) {
    EXPECT_EQ(BxArgFolder(".\\tools", "C:\\pkg"), "C:\\pkg\\tools\\");
    EXPECT_EQ(BxArgFolder("\"D:\\fw\"", "C:\\pkg"), "D:\\fw\\");
    EXPECT_EQ(BxArgFolder(" .\\t ", "\"C:\\b\" "), "C:\\b\\t\\");
    EXPECT_EQ(ExtractTarget("<TargetParFilePath>", "<TargetParFilePath>", "C:\\cur", "bx.par"),
              "C:\\cur\\bx.par");
    EXPECT_EQ(ExtractTarget("", "<TargetParFilePath>", "C:\\cur", "bx.par"), "C:\\cur\\bx.par");
    EXPECT_EQ(ExtractTarget("\"C:\\x\\notes.txt\"", "<TargetReleaseNotesPath>", "C:\\cur",
                            "rel_note.txt"),
              "C:\\x\\notes.txt");
    EXPECT_EQ(ExtractTarget(std::string(2000, 'p'), "<P>", "C:\\cur", "x").size(), 1023u);
}

TEST(Executions, HelpTexts) {
    std::vector<std::string> t = HelpTexts("Setup.exe", "2.0");
    ASSERT_EQ(t.size(), 12u);
    EXPECT_EQ(t[0], "\n\n\n\nSetup.exe V2.0 Usage: Setup.exe [option] ... [option]");
    EXPECT_EQ(t[9], "\n\nExample:\tSetup.exe\t/silent\t/hide\t/[Update]=yes");
    EXPECT_EQ(t[11], "\n");
    // A header over 259 characters is cut to the 260-byte buffer.
    std::vector<std::string> longOne = HelpTexts(std::string(300, 'n'), "1");
    EXPECT_EQ(longOne[0].size(), 2u + 259u);
}

TEST(Executions, CopyTextLinesKeepsLongLines) {
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    ASSERT_TRUE(in && out);
    std::string text = std::string(1000, 'a') + "\nshort\n\nlast";
    std::fputs(text.c_str(), in);
    std::rewind(in);
    EXPECT_TRUE(CopyTextLines(in, out));
    std::rewind(out);
    std::string back;
    char buf[128];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, out)) > 0)
        back.append(buf, n);
    EXPECT_EQ(back, text);
    std::fclose(in);
    std::fclose(out);
}

TEST(Diagnostics, DebugRoute) {
    struct Case {
        int level, debugLevel;
        bool onScreen;
        int verbose;
        bool haveFile;
        DebugRoute route;
    } cases[] = {
        {0, 0, false, 6, true, DebugRoute::None},   {1, 0, false, 6, true, DebugRoute::None},
        {6, 0, true, 6, false, DebugRoute::Screen}, {7, 0, true, 6, false, DebugRoute::None},
        {2, 3, false, 6, true, DebugRoute::File},   {4, 3, false, 6, true, DebugRoute::None},
        {1, 3, false, 6, false, DebugRoute::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseDebugRoute(c.level, c.debugLevel, c.onScreen, c.verbose, c.haveFile),
                  c.route)
            << c.level << "/" << c.debugLevel << "/" << c.onScreen;
}

} // namespace
