#include "core/lang/langstrings.h"

#include "tests/native/lang/lang_fixtures.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using langfixtures::Block;
using langfixtures::Entry;

const std::string kGerman =
    Entry("German", {"s0=Tarnix Installationsprogramm", "s6=", "Charset=0"});
const std::string kEnglish = Entry("English", {"s0=Tarnix Setup", "FontSize=10"});
const std::string kFrench = Entry(" french ", {"s0=Programme"});

struct ChoiceCase {
    const char* what;
    std::string block;
    const char* user;
    std::string expected;
};

TEST(LanguageChoice, EntryByUserLanguageEnglishOrNone) {
    const std::string de =
        Block({{"German", {"s0=Tarnix Installationsprogramm", "s6=", "Charset=0"}}});
    const std::string deEn =
        Block({{"German", {"s0=Tarnix Installationsprogramm", "s6=", "Charset=0"}},
               {"English", {"s0=Tarnix Setup", "FontSize=10"}}});
    const std::string deFr =
        Block({{"German", {"s0=Tarnix Installationsprogramm", "s6=", "Charset=0"}},
               {" french ", {"s0=Programme"}}});
    const ChoiceCase cases[] = {
        {"single German entry on an English system", de, "ENGLISH", kGerman},
        {"single entry on a system with no table name", de, "", kGerman},
        {"German + English on a French system", deEn, "FRENCH", kEnglish},
        {"German + English on a German system", deEn, "GERMAN", kGerman},
        {"names are trimmed and compared case-insensitively", deFr, "FRENCH", kFrench},
        {"German + French on a Japanese system", deFr, "JAPANESE", "*"},
        {"unknown user language and no English", deFr, "", "*"},
        {"no language block", "", "GERMAN", "*"},
        {"malformed block", "\x02garbage", "GERMAN", "*"},
    };
    for (const ChoiceCase& c : cases)
        EXPECT_EQ(lang::ChooseLanguageEntry(c.block, c.user), c.expected) << c.what;
}

TEST(LanguageChoice, NamelessEntryIsNotTakenForAnUnknownLanguage) {
    const std::string block = Block({{"", {"s0=Nameless"}}, {"English", {"s0=Tarnix Setup"}}});
    EXPECT_EQ(lang::ChooseLanguageEntry(block, ""), Entry("English", {"s0=Tarnix Setup"}));
}

TEST(LangStringLookup, ValuesDefaultsAndEmptyValues) {
    const std::string entry = Entry("German", {"s0=Titel", "s6=", " FontSize = 12", "s1=a=b",
                                               "s0=second", "BtnText=|&Ja|&Nein|"});
    struct Case {
        const char* key;
        const char* def;
        const char* expected;
    } cases[] = {
        {"s0", "D", "Titel"},     // first match wins
        {"S0", "D", "Titel"},     // keys are case-insensitive
        {"s6", "D", ""},          // present but empty: no default
        {"s7", "D", "D"},         // missing
        {"FontSize", "8", " 12"}, // blanks before "=" only are ignored
        {"s1", "D", "a=b"},       // only the first "=" separates
        {"BtnText", "D", "|&Ja|&Nein|"},
        {"German", "D", "D"}, // the name is no key
    };
    for (const Case& c : cases)
        EXPECT_EQ(lang::LookUpLangString(entry, c.key, c.def), c.expected) << c.key;

    EXPECT_EQ(lang::LookUpLangString("*", "s0", "D"), "D");
    EXPECT_EQ(lang::LookUpLangString("", "s0", "D"), "D");
}

TEST(LangStringLookup, NumbersFallBackWhenNotNumeric) {
    const std::string entry = Entry("Hebrew", {"Charset=177", "FontSize=big", "X= 9 "});
    EXPECT_EQ(lang::LookUpLangInt(entry, "Charset", 0), 177);
    EXPECT_EQ(lang::LookUpLangInt(entry, "FontSize", 8), 8);
    EXPECT_EQ(lang::LookUpLangInt(entry, "X", 0), 9);
    EXPECT_EQ(lang::LookUpLangInt(entry, "Missing", 8), 8);
    EXPECT_EQ(lang::LookUpLangInt(Entry("E", {"Charset=99999999999"}), "Charset", 0), 0);
    EXPECT_EQ(lang::LookUpLangInt("*", "Charset", 0), 0);
}

TEST(LangStringLookup, RightToLeftCharsets) {
    EXPECT_TRUE(lang::IsRightToLeftCharset(177));
    EXPECT_TRUE(lang::IsRightToLeftCharset(178));
    EXPECT_FALSE(lang::IsRightToLeftCharset(0));
    EXPECT_FALSE(lang::IsRightToLeftCharset(186));
}

TEST(LanguageChoiceState, ChosenOnceFromTheFirstBlock) {
    const std::string first = Block({{"German", {"s0=Titel"}}, {"English", {"s0=Title"}}});
    const std::string other = Block({{"English", {"s0=Other"}}});
    lang::LanguageChoice choice;
    int asked = 0;
    auto user = [&] {
        ++asked;
        return std::string("GERMAN");
    };
    EXPECT_FALSE(choice.IsChosen());
    EXPECT_EQ(choice.GetLangString(first, user, "s0", "D"), "Titel");
    EXPECT_EQ(choice.GetLangString(other, user, "s0", "D"), "Titel");
    EXPECT_EQ(choice.GetLangString(other, user, "s1", "D"), "D");
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(choice.IsChosen());
}

TEST(LanguageChoiceState, NoEntryStaysNoEntry) {
    lang::LanguageChoice choice;
    auto user = [] { return std::string("JAPANESE"); };
    EXPECT_EQ(choice.GetLangString("", user, lang::kTitle.key, lang::kTitle.def),
              "Tarnix Installation Suite");
    EXPECT_EQ(choice.Entry(Block({{"Japanese", {"s0=X"}}}), user), "*");
}

} // namespace
