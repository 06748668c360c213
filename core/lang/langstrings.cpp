#include "core/lang/langstrings.h"

#include "core/util/ksub.h"
#include "core/util/numbers.h"
#include "core/util/text.h"

namespace lang {

std::string FindLanguageEntry(const std::string& languageBlock, const std::string& name) {
    const std::string wanted = UpperCase(Trim(name));
    const int count = SUB::Count(languageBlock);
    // An unknown user language has no name; it must not pick a nameless entry.
    for (int i = 0; i < count && !wanted.empty(); ++i) {
        const std::string entry = SUB::Get(languageBlock, i);
        if (UpperCase(Trim(SUB::Get(entry, 0))) == wanted) return entry;
    }
    // A package with one language uses it whatever the user speaks.
    if (count == 1) {
        const std::string only = SUB::Get(languageBlock, 0);
        if (!only.empty()) return only;
    }
    return kNoEntry;
}

std::string ChooseLanguageEntry(const std::string& languageBlock, const std::string& userLanguage) {
    std::string entry = FindLanguageEntry(languageBlock, userLanguage);
    if (entry == kNoEntry) entry = FindLanguageEntry(languageBlock, kFallbackLanguage);
    return entry;
}

std::string LookUpLangString(const std::string& chosenEntry, const std::string& key,
                             const std::string& def) {
    if (chosenEntry.size() <= 1) return def;
    return SUB::GetValue(chosenEntry, key, def, std::string());
}

int LookUpLangInt(const std::string& chosenEntry, const std::string& key, int def) {
    const int64_t v = TextToInt64(LookUpLangString(chosenEntry, key, std::to_string(def)), def);
    return (v < INT32_MIN || v > INT32_MAX) ? def : int(v);
}

bool IsRightToLeftCharset(int charset) {
    return charset == kHebrewCharset || charset == kArabicCharset;
}

const std::string& LanguageChoice::Entry(const std::string& languageBlock,
                                         const std::function<std::string()>& userLanguage) {
    if (entry_.empty()) {
        entry_ = ChooseLanguageEntry(languageBlock, userLanguage ? userLanguage() : std::string());
        if (entry_.empty()) entry_ = kNoEntry;
    }
    return entry_;
}

std::string LanguageChoice::GetLangString(const std::string& languageBlock,
                                          const std::function<std::string()>& userLanguage,
                                          const std::string& key, const std::string& def) {
    return LookUpLangString(Entry(languageBlock, userLanguage), key, def);
}

} // namespace lang
