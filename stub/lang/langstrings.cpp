#include "stub/lang/langstrings.h"

#include "core/lang/slangid.h"

#include <windows.h>

namespace {

lang::LanguageChoice& Choice() {
    static lang::LanguageChoice choice;
    return choice;
}

std::string Lookup(const package::TGFileInfo& pkg, const std::string& key, const std::string& def) {
    return Choice().GetLangString(pkg.LanguageBlock(), UserLanguageName, key, def);
}

} // namespace

std::string UserLanguageName() {
    return lang::LanguageNameOfLocale(GetThreadLocale());
}

std::string GetLangString(const package::TGFileInfo& pkg, const std::string& key,
                          const std::string& def) {
    return Lookup(pkg, key, def);
}

std::string GetLangString(const package::TGFileInfo& pkg, const lang::LangText& text) {
    return Lookup(pkg, text.key, text.def);
}

int LangCharset(const package::TGFileInfo& pkg) {
    return lang::LookUpLangInt(Choice().Entry(pkg.LanguageBlock(), UserLanguageName),
                               lang::kCharset.key, lang::kDefaultCharset);
}

int LangFontSize(const package::TGFileInfo& pkg) {
    return lang::LookUpLangInt(Choice().Entry(pkg.LanguageBlock(), UserLanguageName),
                               lang::kFontSize.key, lang::kDefaultFontSize);
}

std::string LangFontName(const package::TGFileInfo& pkg) {
    return GetLangString(pkg, lang::kFontName);
}

std::string ChosenLanguageEntry() {
    static const std::string none;
    return Choice().IsChosen() ? Choice().Entry(none, nullptr) : none;
}
