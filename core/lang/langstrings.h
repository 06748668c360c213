#pragma once
// Unit of the language strings: setup texts by key from a package's language
// block, with a built-in default for each key. One language entry per process.

#include <cstdint>
#include <functional>
#include <string>

namespace lang {

// A key of the language block and its built-in default.
struct LangText {
    const char* key;
    const char* def;
};

constexpr LangText kTitle{"s0", "Tarnix Installation Suite"};
constexpr LangText kExtracting{"s1", "Extracting Files..."};
constexpr LangText kSpaceIntro{"s2", "Tarnix will extract files to your Temp Drive (<DRIVE>)<P>"};
constexpr LangText kSpaceShort{"s3", "Limited Free Space on your Temp Drive! (<DRIVE>)<P>"};
constexpr LangText kSpaceRequired{
    "s4", "<P>Estimated space required on your Temp drive is: <T>  <SPACE_REQ> MB<P>"};
constexpr LangText kSpaceAvailable{
    "s5", "Free space available on your Temp drive is: <T>  <SPACE_AVAIL> MB<P>"};
constexpr LangText kSpaceContinue{"s6", "<P>Continue with Setup?<P>"};
constexpr LangText kBadCrc{"s7",
                           "Bad CRC!<P>This indicates that your setup file might be corrupted..."};
constexpr LangText kInsertDisk{"s8",
                               "Please insert <B>DISK #<DISK_NUM></B> and press OK to continue"};
constexpr LangText kDownloading{"s10", "Downloading File..."};
constexpr LangText kDownloadQuestion{
    "s11", "<b>INTERNET DOWNLOAD</b><p><p>Tarnix will download the Setup File from the "
           "Internet...<p>Please make sure your Internet connection is properly set.<p><p>Continue "
           "with Setup?<p><P>Size: <SIZE> MB<P>"};
constexpr LangText kNoConnection{"s12", "No valid Internet Connection.<p>Can not Download File!"};
constexpr LangText kButtons{"BtnText", "|&OK|&Cancel|&Yes|&No|&Abort|&Retry|&Ignore|"};
constexpr LangText kAttention{"Attention", "Attention"};
constexpr LangText kConfirm{"Confirm", "Confirm"};
constexpr LangText kError{"Error", "Error"};
constexpr LangText kCharset{"Charset", "0"};
constexpr LangText kFontSize{"FontSize", "8"};
constexpr LangText kFontName{"FontName", "Tahoma"};

constexpr int kDefaultCharset = 0;
constexpr int kDefaultFontSize = 8;
constexpr int kHebrewCharset = 177;
constexpr int kArabicCharset = 178;
// The chosen entry when no language entry was found.
constexpr char kNoEntry[] = "*";
// Language used when the user's language has no entry.
constexpr char kFallbackLanguage[] = "English";

// The entry of the language block whose name equals `name` (both trimmed,
// case-insensitively); the only entry when there is exactly one; else "*".
std::string FindLanguageEntry(const std::string& languageBlock, const std::string& name);
// The user's entry, else the "English" one, else "*".
std::string ChooseLanguageEntry(const std::string& languageBlock, const std::string& userLanguage);

// Value of key in a chosen entry: def when the key is missing or nothing was
// chosen, empty when the key is present with an empty value.
std::string LookUpLangString(const std::string& chosenEntry, const std::string& key,
                             const std::string& def);
// The same converted to a number; def when the text is not one.
int LookUpLangInt(const std::string& chosenEntry, const std::string& key, int def);

bool IsRightToLeftCharset(int charset);

// The process's language entry: empty until the first lookup chooses it from
// that lookup's language block, then fixed for every later block.
class LanguageChoice {
  public:
    // The user's language name is asked for only when the choice is made.
    const std::string& Entry(const std::string& languageBlock,
                             const std::function<std::string()>& userLanguage);
    bool IsChosen() const { return !entry_.empty(); }

    std::string GetLangString(const std::string& languageBlock,
                              const std::function<std::string()>& userLanguage,
                              const std::string& key, const std::string& def);

  private:
    std::string entry_;
};

} // namespace lang
