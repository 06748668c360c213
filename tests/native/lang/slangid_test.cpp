#include "core/lang/slangid.h"

#include "core/util/ksub.h"
#include "core/util/text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

using lang::kLanguageIdTable;

TEST(LanguageIdTable, ShapeOfTheStoredText) {
    const std::string table = kLanguageIdTable;
    ASSERT_EQ(SUB::Count(table), lang::kLanguageIdCount);
    EXPECT_EQ(table.size(), 999u);
    for (int i = 0; i < lang::kLanguageIdCount; ++i) {
        SCOPED_TRACE(i);
        const std::string item = SUB::Get(table, i);
        const bool primary = i < 43;
        // Aligned columns: "=" after a 13- or 21-byte name field, one blank after it.
        const size_t eq = primary ? 13 : 21;
        ASSERT_EQ(item.find('='), eq);
        EXPECT_EQ(item[eq - 1], ' ');
        EXPECT_EQ(item[eq + 1], ' ');
        const std::string name = Trim(item.substr(0, eq));
        EXPECT_EQ(name, UpperCase(name));
        EXPECT_EQ(item.substr(0, eq).find_first_not_of(' ', name.size()), std::string::npos);
        const std::string number = item.substr(eq + 2);
        EXPECT_EQ(number.size(), primary ? 2u : 4u);
        for (char c : number)
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c))) << number;
    }
}

struct NameCase {
    int number;
    const char* name;
};

TEST(LanguageIdTable, NamesOfNumbers) {
    const NameCase cases[] = {
        {9, "ENGLISH"},
        {7, "GERMAN"},
        {17, "JAPANESE"},
        {12, "FRENCH"},
        {1, "ARABIC"},
        {13, "HEBREW"},
        {10, "SPANISH"},
        {54, "AFRIKAANS"},
        {42, "VIETNAMESE"},
        // Shared number and the first item in table order.
        {26, "CROATIAN"},
        {28, "ALBANIAN"},
        // Keys found only inside the four-digit identifiers.
        {52, "CHINESE(SIMPLIFIED)"},
        {46, "PORTUGUESE(BRAZIL)"},
        {67, "DUTCH(FLEMISH)"},
        {43, "DUTCH(STANDARD)"},
        {104, "DUTCH(STANDARD)"},
        {98, "SERBIAN(CYRILIC)"},
        {74, "SERBIAN(LATIN)"},
        {2052, "CHINESE(SIMPLIFIED)"},
        {20, "NORWEGIAN"},
        // In no item at all.
        {44, ""},
        {40, ""},
        {0, ""},
        {1023, ""},
        {-1, ""},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(lang::LanguageName(c.number), c.name) << c.number;
}

TEST(LanguageIdTable, UserLanguageFromLocaleIdentifier) {
    EXPECT_EQ(lang::PrimaryLanguageOf(0x0407), 7);
    EXPECT_EQ(lang::PrimaryLanguageOf(0x0C07), 7); // Austrian German
    EXPECT_EQ(lang::PrimaryLanguageOf(0x0804), 4); // sub-language is dropped
    EXPECT_EQ(lang::PrimaryLanguageOf(0), 9);
    EXPECT_EQ(lang::PrimaryLanguageOf(0x1000), 0);
    EXPECT_EQ(lang::LanguageNameOfLocale(0), "ENGLISH");
    EXPECT_EQ(lang::LanguageNameOfLocale(0x0411), "JAPANESE");
    EXPECT_EQ(lang::LanguageNameOfLocale(0x040C), "FRENCH");
    EXPECT_EQ(lang::LanguageNameOfLocale(0x0804), "CHINESE");
    EXPECT_EQ(lang::LanguageNameOfLocale(0x042C), ""); // Azeri: 44
}

} // namespace
