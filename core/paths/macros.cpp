#include "core/paths/macros.h"

#include "core/util/numbers.h"
#include "core/util/text.h"

#include <cmath>

namespace paths {

namespace {

const char* const kEnglishMonths[12] = {"January",   "February", "March",    "April",
                                        "May",       "June",     "July",     "August",
                                        "September", "October",  "November", "December"};

std::string Two(int n) {
    return IntToZeroPad(n, 2);
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Whether the separator goes after the value: the first occurrence decides
// for all occurrences.
bool SeparatorApplies(const std::string& text, size_t at, size_t length) {
    size_t after = at + length;
    if (after >= text.size()) return false;
    char next = text[after];
    if (next == ' ') return false;
    char edge = text.front();
    if (edge == text.back() && next == edge && edge != '<' && !IsLetter(edge)) return false;
    return true;
}

// Replaces every occurrence of macro (any case) by value, plus separator
// when the rule allows it.
void Put(std::string& text, const std::string& macro, const std::string& value,
         const std::string* separator) {
    int pos = PosNoCase(macro, text);
    if (pos == 0) return;
    std::string replacement = value;
    if (separator && SeparatorApplies(text, static_cast<size_t>(pos - 1), macro.size()))
        replacement += *separator;
    text = ReplaceTextNoCase(text, macro, replacement);
}

std::string FirstBytes(const std::string& s, size_t n) {
    return s.substr(0, n < s.size() ? n : s.size());
}

void ExpandDate(std::string& text, const MacroEnvironment& env) {
    int pos = PosNoCase("<Date=", text);
    if (pos == 0 || text.find('>', static_cast<size_t>(pos - 1) + 6) == std::string::npos) return;
    size_t at = static_cast<size_t>(pos - 1);
    if (at + 6 >= text.size()) return;
    char code = text[at + 6];
    if (code != '#' && !(code >= '0' && code <= '7')) return;
    // The code and the byte after it (normally ">") make way for the date.
    size_t drop = at + 8 <= text.size() ? 8 : 7;
    text.replace(at, drop, MacroDateText(code, env));
}

bool HasDotFolder(const std::string& s) {
    return s.find("\\..") != std::string::npos || s.find("..\\") != std::string::npos;
}

std::string FullPath(const MacroEnvironment& env, const std::string& path) {
    return env.fullPath ? env.fullPath(path) : path;
}

std::string ExpandDotFolders(const std::string& text, const MacroEnvironment& env) {
    if (!HasDotFolder(text)) return text;
    char first = text.front();
    if (first != ',' && first != '|') return FullPath(env, text);
    std::string out(1, first);
    size_t start = 1;
    while (start <= text.size()) {
        size_t end = text.find(first, start);
        bool last = end == std::string::npos;
        std::string item = text.substr(start, last ? std::string::npos : end - start);
        out += HasDotFolder(item) ? FullPath(env, item) : item;
        if (last) break;
        out += first;
        start = end + 1;
    }
    return out;
}

} // namespace

std::string MacroDateText(char code, const MacroEnvironment& env) {
    const DateTimeParts& d = env.now;
    const std::string yy = Two(d.year % 100), yyyy = IntToZeroPad(d.year, 4);
    const std::string mm = Two(d.month), dd = Two(d.day);
    switch (code) {
    case '#': {
        std::string month;
        if (d.month >= 1 && d.month <= 12) {
            month = env.longMonthNames[d.month - 1];
            if (month.empty()) month = kEnglishMonths[d.month - 1];
        }
        return dd + env.dateSeparator + month + env.dateSeparator + yyyy;
    }
    case '0': {
        double now = 0, base = 0;
        DateTimeParts origin;
        origin.year = 2000;
        origin.month = 1;
        origin.day = 1;
        if (!EncodeDateTime(d, now) || !EncodeDateTime(origin, base)) return "0";
        return std::to_string(static_cast<long long>(std::floor(now - base)));
    }
    case '1':
        return dd + "-" + mm + "-" + yy;
    case '2':
        return mm + "-" + dd + "-" + yy;
    case '3':
        return yy + "-" + mm + "-" + dd;
    case '4':
        return dd + "-" + mm + "-" + yyyy;
    case '5':
        return mm + "-" + dd + "-" + yyyy;
    case '6':
        return yyyy + "-" + mm + "-" + dd;
    case '7':
        return yyyy + "-" + mm + "-" + dd + " " + Two(d.hour) + ":" + Two(d.minute) + ":" +
               Two(d.second);
    default:
        return std::string();
    }
}

std::string ExpandMacrosWith(const std::string& input, const std::string& separator,
                             const MacroEnvironment& env) {
    if (input.find('<') == std::string::npos) return input;
    std::string text = input;
    const std::string* sep = &separator;

    ExpandDate(text, env);

    const std::string empty;
    Put(text, "<LoggedUserName>", env.loggedUserName, nullptr);
    Put(text, "<UserName>", env.userName.empty() ? env.loggedUserName : env.userName, nullptr);
    Put(text, "<CompanyName>", env.companyName, nullptr);
    Put(text, "<ComputerName>", env.computerName, nullptr);
    Put(text, "<CurrentDomainName>", env.domainName, nullptr);
    Put(text, "<LastExecutableExitCode>", "0", nullptr);
    Put(text, "<ReqFreeDiskSpaceMB>", "0", nullptr);
    for (const char* m : {"<EnteredUserName>", "<EnteredCompanyName>", "<EnteredSerialNum>",
                          "<EnteredStartProgramMenu>", "<VendorCompanyName>", "<ProjectName>",
                          "<ProgramDescriptiveName>", "<ProgramVersion>", "<SelectedLanguage>"})
        Put(text, m, empty, nullptr);

    const std::string s = text;

    Put(text, "<UnInstallExePath>", empty, nullptr);
    if (PosNoCase("<RunTimeDir_", text) != 0)
        for (int i = 1; i <= 8; ++i)
            Put(text, "<RunTimeDir_" + std::to_string(i) + ">", empty, sep);
    Put(text, "<Application Folder>", env.installDir, sep);
    Put(text, "<Common Folder>", env.sharedDir, sep);
    Put(text, "<Auxiliary Folder>", env.auxDir, sep);
    Put(text, "<Windows Directory>", env.windowsDir, sep);
    Put(text, "<System Directory>", env.systemDir, sep);
    Put(text, "<System16 Directory>", env.system16Dir, sep);

    if (text != s) {
        for (const char* m : {"<InstallDir>", "<InstallCommonDir>", "<InstallAuxDir>"})
            text = ReplaceTextNoCase(text, m, empty);
        text = ReplaceTextNoCase(text, "<AbsoluteDir>", empty);
    }

    Put(text, "<InstallDir>", env.installDir, sep);
    Put(text, "<InstallCommonDir>", env.sharedDir, sep);
    Put(text, "<InstallAuxDir>", env.auxDir, sep);
    text = ReplaceTextNoCase(text, "<AbsoluteDir>", empty);
    Put(text, "<WinDir>", env.windowsDir, sep);
    Put(text, "<WinSysDir>", env.systemDir, sep);
    Put(text, "<WinSys32Dir>", env.systemDir, sep);
    Put(text, "<WinSys16Dir>", env.system16Dir, sep);
    const struct {
        const char* drive;
        const char* disk;
        const std::string* folder;
    } drives[] = {{"<InstallDrive>", "<InstallDisk>", &env.installDir},
                  {"<WinDrive>", "<WinDisk>", &env.windowsDir},
                  {"<WinSysDrive>", "<WinSysDisk>", &env.systemDir},
                  {"<OriginDrive>", "<OriginDisk>", &env.originDir}};
    for (const auto& d : drives)
        Put(text, d.drive, FirstBytes(*d.folder, 3), nullptr);
    for (const auto& d : drives)
        Put(text, d.disk, FirstBytes(*d.folder, 2), nullptr);
    const struct {
        const char* macro;
        const std::string* folder;
    } folders[] = {{"<StartMenuDir>", &env.startMenuDir},
                   {"<ProgramFilesDir>", &env.programFilesDir},
                   {"<CommonFilesDir>", &env.commonFilesDir},
                   {"<FontDir>", &env.fontDir},
                   {"<SrcDir>", &env.srcDir},
                   {"<OriginDir>", &env.originDir},
                   {"<TempDir>", &env.tempDir},
                   {"<ServiceDir>", &env.serviceDir},
                   {"<UserDir>", &env.userDir},
                   {"<UserAppDataDir>", &env.userAppDataDir},
                   {"<UserLocalAppDataDir>", &env.userLocalAppDataDir},
                   {"<MyDocumentsDir>", &env.myDocumentsDir},
                   {"<UserStartMenuDir>", &env.userStartMenuDir},
                   {"<UserStartProgramMenuDir>", &env.userStartProgramMenuDir},
                   {"<UserDesktopDir>", &env.userDesktopDir},
                   {"<DocumentsAndSettingsDir>", &env.documentsAndSettingsDir},
                   {"<AllUsersDir>", &env.allUsersDir},
                   {"<AllUsersAppDataDir>", &env.allUsersAppDataDir},
                   {"<AllUsersDocumentsDir>", &env.allUsersDocumentsDir},
                   {"<AllUsersStartMenuDir>", &env.allUsersStartMenuDir},
                   {"<AllUsersStartProgramMenuDir>", &env.allUsersStartProgramMenuDir},
                   {"<AllUsersDesktopDir>", &env.allUsersDesktopDir}};
    for (const auto& f : folders)
        Put(text, f.macro, *f.folder, sep);

    if (text != s) text = CleanPathOf(text, false, env.isLead);
    if (!text.empty()) text = ExpandDotFolders(text, env);
    return text;
}

} // namespace paths
