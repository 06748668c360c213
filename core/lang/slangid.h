#pragma once
// Unit SLangId: the language-name table and the name of a Windows language
// number, by which a package's language entry is chosen.

#include <cstdint>
#include <string>

namespace lang {

// 51 items "NAME = number" in aligned columns: 43 primary language numbers in
// two digits, then 8 complete language identifiers.
extern const char kLanguageIdTable[];
constexpr int kLanguageIdCount = 51;

// Upper-case name of the first table item containing the number's decimal
// text (at least two digits) anywhere; empty when none does.
std::string LanguageName(int number);

// Primary language of a locale identifier (its low 10 bits; 9 for 0).
int PrimaryLanguageOf(uint32_t lcid);
std::string LanguageNameOfLocale(uint32_t lcid);

} // namespace lang
