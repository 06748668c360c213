#include "stub/paths/macros.h"

#include "core/paths/macros.h"
#include "stub/paths/runtimedir.h"
#include "stub/paths/shelldir.h"
#include "stub/util/sysinfo.h"

#include <windows.h>

namespace {

std::string g_installDir, g_sharedDir, g_auxDir;

bool IsAnsiLeadByte(unsigned char c) {
    return IsDBCSLeadByte(c) != FALSE;
}

std::string LocaleText(LCTYPE type) {
    int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, nullptr, 0);
    if (n <= 0) return std::string();
    std::string buffer(static_cast<size_t>(n), '\0');
    n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, &buffer[0], n);
    return n > 0 ? buffer.substr(0, static_cast<size_t>(n) - 1) : std::string();
}

std::string FullPathOf(const std::string& path) {
    DWORD n = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::string buffer(n, '\0');
    n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), &buffer[0], nullptr);
    if (n == 0 || n >= buffer.size()) return path;
    buffer.resize(n);
    return buffer;
}

paths::MacroEnvironment MachineEnvironment() {
    paths::MacroEnvironment e;
    SYSTEMTIME t;
    GetLocalTime(&t);
    e.now.year = t.wYear;
    e.now.month = t.wMonth;
    e.now.day = t.wDay;
    e.now.hour = t.wHour;
    e.now.minute = t.wMinute;
    e.now.second = t.wSecond;
    std::string sep = LocaleText(LOCALE_SDATE);
    if (!sep.empty()) e.dateSeparator = sep[0];
    for (int i = 0; i < 12; ++i)
        e.longMonthNames[i] = LocaleText(static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + i));

    e.loggedUserName = UserName();
    e.userName = RegisteredOwner();
    e.companyName = RegisteredOrganization();
    e.computerName = ComputerName();
    e.domainName = UserDomain();

    e.installDir = g_installDir;
    e.sharedDir = g_sharedDir;
    e.auxDir = g_auxDir;

    e.windowsDir = runtimedir::WinDir(false);
    e.systemDir = runtimedir::WinSysDir(false);
    e.system16Dir = runtimedir::WinSys16Dir(false);
    e.startMenuDir = runtimedir::StartMenuDir(false);
    e.programFilesDir = runtimedir::ProgramFilesDir(false);
    e.commonFilesDir = runtimedir::CommonFilesDir(false);
    e.fontDir = runtimedir::FontDir(false);
    e.srcDir = runtimedir::SrcDir(false);
    e.originDir = runtimedir::OriginDir(false);
    e.tempDir = runtimedir::TempDirectory(false);
    e.serviceDir = runtimedir::ServiceDir(false);

    e.userDir = shelldir::UserDir(false);
    e.userAppDataDir = shelldir::UserAppDataDir(false);
    e.userLocalAppDataDir = shelldir::UserLocalAppDataDir(false);
    e.myDocumentsDir = shelldir::MyDocumentsDir(false);
    e.userStartMenuDir = shelldir::UserStartMenuDir(false);
    e.userStartProgramMenuDir = shelldir::UserStartProgramMenuDir(false);
    e.userDesktopDir = shelldir::UserDesktopDir(false);
    e.documentsAndSettingsDir = shelldir::DocumentsAndSettingsDir(false);
    e.allUsersDir = shelldir::AllUsersDir(false);
    e.allUsersAppDataDir = shelldir::AllUsersAppDataDir(false);
    e.allUsersDocumentsDir = shelldir::AllUsersDocumentsDir(false);
    e.allUsersStartMenuDir = shelldir::AllUsersStartMenuDir(false);
    e.allUsersStartProgramMenuDir = shelldir::AllUsersStartProgramMenuDir(false);
    e.allUsersDesktopDir = shelldir::AllUsersDesktopDir(false);

    e.fullPath = FullPathOf;
    e.isLead = IsAnsiLeadByte;
    return e;
}

} // namespace

void SetInstallationFolders(const std::string& installDir, const std::string& sharedDir,
                            const std::string& auxDir) {
    g_installDir = installDir;
    g_sharedDir = sharedDir;
    g_auxDir = auxDir;
}

std::string ExpandMacros(const std::string& text, const std::string& separator) {
    // The folders are only looked up for a text that can hold a macro.
    if (text.find('<') == std::string::npos) return text;
    return paths::ExpandMacrosWith(text, separator, MachineEnvironment());
}
