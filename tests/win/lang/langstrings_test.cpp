#include "stub/lang/langstrings.h"

#include "tests/support/wine_test_support.h"
#include "tests/win/lang/language_package.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

using langtest::Env;
using langtest::LanguageBlock;

const langtest::Languages kGermanOnly = {{"German", {"s0=Tarnix Installationsprogramm"}}};
const langtest::Languages kGermanEnglish = {{"German", {"s0=Tarnix Installationsprogramm"}},
                                            {"English", {"s0=Tarnix Setup"}}};
const langtest::Languages kGermanFrench = {{"German", {"s0=Tarnix Installationsprogramm"}},
                                           {"French", {"s0=Programme d'installation"}}};

// The child's side: looks up the title the way the main window does, after
// setting the thread locale when asked to, and writes it to a file.
TEST(LangChild, TitleOfPackage) {
    const std::string pkgPath = Env("LANG_CHILD_PACKAGE");
    if (pkgPath.empty()) GTEST_SKIP() << "runs as a child of the language tests";
    const std::string lcid = Env("LANG_CHILD_LCID");
    if (!lcid.empty()) {
        ASSERT_TRUE(SetThreadLocale(std::strtoul(lcid.c_str(), nullptr, 16)));
    }
    const package::TGFileInfo pkg = langtest::ReadPackage(pkgPath);
    const package::TGFileInfo other;
    // One statement per lookup: the first one fixes the entry.
    std::string out = UserLanguageName() + "|";
    out += GetLangString(pkg, lang::kTitle) + "|";
    out += GetLangString(pkg, "s6", "default") + "|";
    out += std::to_string(LangCharset(pkg)) + "|";
    out += std::to_string(LangFontSize(pkg)) + "|";
    out += LangFontName(pkg) + "|";
    // Later lookups on another package keep the entry.
    out += GetLangString(other, lang::kTitle) + "|";
    ASSERT_TRUE(testsupport::WriteWholeFile(Env("LANG_CHILD_OUT"), out));
}

// Title and the other accessors as a child process sees them.
std::string ChildResult(const testsupport::TempDir& dir, const std::string& name,
                        const std::string& block, const std::string& lcid) {
    const std::string pkg = dir.file(name + ".exe");
    const std::string out = dir.file(name + ".out");
    if (!langtest::WritePackage(pkg, block)) return "package not written";
    const long rc = langtest::RunChildTest(
        "LangChild.*",
        {{"LANG_CHILD_PACKAGE", pkg}, {"LANG_CHILD_OUT", out}, {"LANG_CHILD_LCID", lcid}});
    if (rc != 0) return "child failed: " + std::to_string(rc);
    return testsupport::ReadWholeFile(out);
}

TEST(LanguageStrings, EntryChosenFromTheThreadLocale) {
    testsupport::TempDir dir;
    const std::string hebrew =
        LanguageBlock({{"Hebrew", {"s0=Title", "Charset=177", "FontSize=10", "FontName=Arial"}}});
    const std::string emptyValue = LanguageBlock({{"English", {"s0=Setup", "s6=", "FontSize=x"}}});
    struct {
        const char* what;
        std::string block;
        const char* lcid;
        std::string expected;
    } cases[] = {
        {"single German entry, English system", LanguageBlock(kGermanOnly), "0409",
         "ENGLISH|Tarnix Installationsprogramm|default|0|8|Tahoma|Tarnix Installationsprogramm|"},
        {"German + English, French system", LanguageBlock(kGermanEnglish), "040C",
         "FRENCH|Tarnix Setup|default|0|8|Tahoma|Tarnix Setup|"},
        {"German + English, Austrian German system", LanguageBlock(kGermanEnglish), "0C07",
         "GERMAN|Tarnix Installationsprogramm|default|0|8|Tahoma|Tarnix Installationsprogramm|"},
        {"German + French, Japanese system", LanguageBlock(kGermanFrench), "0411",
         "JAPANESE|Tarnix Installation Suite|default|0|8|Tahoma|Tarnix Installation Suite|"},
        {"no language block", "", "0407",
         "GERMAN|Tarnix Installation Suite|default|0|8|Tahoma|Tarnix Installation Suite|"},
        {"display accessors", hebrew, "040D", "HEBREW|Title|default|177|10|Arial|Title|"},
        {"empty value and a size that is no number", emptyValue, "0409",
         "ENGLISH|Setup||0|8|Tahoma|Setup|"},
    };
    int n = 0;
    for (const auto& c : cases)
        EXPECT_EQ(ChildResult(dir, "case" + std::to_string(++n), c.block, c.lcid), c.expected)
            << c.what;
}

// The locale Wine gives a program follows LC_ALL (or LANG) of the wine
// process, and child processes inherit it. Run this program with, say,
// LC_ALL=de_DE.UTF-8 or LC_ALL=fr_FR.UTF-8 to exercise it; without a locale
// the test has nothing to compare with and is skipped.
TEST(LanguageStrings, EntryChosenFromWinesLocale) {
    std::string locale = Env("LC_ALL");
    if (locale.empty()) locale = Env("LANG");
    struct {
        const char* prefix;
        const char* name;
        const char* title;     // with German + English
        const char* titleDeFr; // with German + French
    } known[] = {
        {"de", "GERMAN", "Tarnix Installationsprogramm", "Tarnix Installationsprogramm"},
        {"fr", "FRENCH", "Tarnix Setup", "Programme d'installation"},
        {"en", "ENGLISH", "Tarnix Setup", "Tarnix Installation Suite"},
        {"ja", "JAPANESE", "Tarnix Setup", "Tarnix Installation Suite"},
    };
    for (const auto& k : known) {
        if (locale.compare(0, 2, k.prefix) != 0) continue;
        testsupport::TempDir dir;
        const std::string tail = "|default|0|8|Tahoma|";
        EXPECT_EQ(ChildResult(dir, "a", LanguageBlock(kGermanOnly), ""),
                  std::string(k.name) + "|Tarnix Installationsprogramm" + tail +
                      "Tarnix Installationsprogramm|");
        EXPECT_EQ(ChildResult(dir, "b", LanguageBlock(kGermanEnglish), ""),
                  std::string(k.name) + "|" + k.title + tail + k.title + "|");
        EXPECT_EQ(ChildResult(dir, "c", LanguageBlock(kGermanFrench), ""),
                  std::string(k.name) + "|" + k.titleDeFr + tail + k.titleDeFr + "|");
        return;
    }
    GTEST_SKIP() << "no known locale in LC_ALL or LANG (" << locale << ")";
}

} // namespace
