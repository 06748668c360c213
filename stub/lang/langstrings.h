#pragma once
// The process's language strings: the entry of the running executable's
// package chosen from the user's Windows language on the first lookup.

#include "core/lang/langstrings.h"
#include "core/package/tgfileinfo.h"

#include <string>

// Name of the primary language of the current thread's locale ("GERMAN"),
// empty when the table has none.
std::string UserLanguageName();

// Value of key in the chosen language entry, with def as its default. The
// first call fixes the entry from this package's language block.
std::string GetLangString(const package::TGFileInfo& pkg, const std::string& key,
                          const std::string& def);
std::string GetLangString(const package::TGFileInfo& pkg, const lang::LangText& text);

// "Charset" (default 0), "FontSize" (default 8) and "FontName" ("Tahoma").
int LangCharset(const package::TGFileInfo& pkg);
int LangFontSize(const package::TGFileInfo& pkg);
std::string LangFontName(const package::TGFileInfo& pkg);

// The chosen entry: empty before the first lookup, "*" when none was found.
std::string ChosenLanguageEntry();
