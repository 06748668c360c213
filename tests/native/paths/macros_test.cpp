#include "core/paths/macros.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using paths::ExpandMacrosWith;
using paths::MacroEnvironment;

MacroEnvironment Env() {
    MacroEnvironment e;
    e.now.year = 2026;
    e.now.month = 3;
    e.now.day = 7;
    e.now.hour = 9;
    e.now.minute = 5;
    e.now.second = 4;
    e.loggedUserName = "jo";
    e.userName = "Owner";
    e.companyName = "Org";
    e.computerName = "PC1";
    e.domainName = "DOM";
    e.installDir = "C:\\Prog\\App";
    e.sharedDir = "C:\\Prog\\Common";
    e.auxDir = "D:\\Aux";
    e.windowsDir = "C:\\Windows";
    e.systemDir = "C:\\Windows\\system32";
    e.system16Dir = "C:\\Windows\\system";
    e.startMenuDir = "C:\\Menu";
    e.programFilesDir = "C:\\Program Files";
    e.commonFilesDir = "C:\\Program Files\\Common Files";
    e.fontDir = "C:\\Windows\\Fonts";
    e.srcDir = "E:\\Src";
    e.originDir = "F:\\Origin";
    e.tempDir = "C:\\Temp";
    e.serviceDir = "E:\\Src";
    e.userDir = "C:\\Users\\jo";
    e.userAppDataDir = "C:\\Users\\jo\\AppData\\Roaming";
    e.allUsersDir = "C:\\";
    e.userDesktopDir = "C:\\Users\\jo\\Desktop";
    e.fullPath = [](const std::string& p) { return "FULL(" + p + ")"; };
    return e;
}

struct Case {
    const char* text;
    const char* expected;
};

void RunCases(const Case* begin, const Case* end, const MacroEnvironment& env) {
    for (const Case* c = begin; c != end; ++c)
        EXPECT_EQ(ExpandMacrosWith(c->text, "\\", env), c->expected) << c->text;
}

TEST(Macros, SeparatorRule) {
    const Case cases[] = {
        {"<InstallDir>", "C:\\Prog\\App"},
        {"<InstallDir>app.exe", "C:\\Prog\\App\\app.exe"},
        {"<InstallDir> /x", "C:\\Prog\\App /x"},
        {"|<InstallDir>|<WinDir>|", "|C:\\Prog\\App|C:\\Windows|"},
        {",<InstallDir>,<WinDir>,", ",C:\\Prog\\App,C:\\Windows,"},
        // The first occurrence decides for every occurrence.
        {"<WinDir> <WinDir>x", "C:\\Windows C:\\Windowsx"},
        {"<WinDir>x <WinDir>", "C:\\Windows\\x C:\\Windows\\"},
        // "<" and letters that begin and end the text are no list delimiter.
        {"<WinDir><WinDir>", "C:\\Windows\\C:\\Windows\\"},
        {"a<InstallDir>a", "aC:\\Prog\\App\\a"},
        {"<InstallDir>\\a.exe", "C:\\Prog\\App\\a.exe"},
    };
    RunCases(std::begin(cases), std::end(cases), Env());
}

TEST(Macros, FirstFolderGroupSuppressesTheSecond) {
    const Case cases[] = {
        {"<Application Folder>x.exe<InstallDir>", "C:\\Prog\\App\\x.exe"},
        {"<Common Folder>a<InstallCommonDir><InstallAuxDir><AbsoluteDir>", "C:\\Prog\\Common\\a"},
        {"<AbsoluteDir>C:\\x", "C:\\x"},
        {"<Windows Directory>a", "C:\\Windows\\a"},
        {"<System Directory>a", "C:\\Windows\\system32\\a"},
        {"<System16 Directory>a", "C:\\Windows\\system\\a"},
        {"<Auxiliary Folder>a", "D:\\Aux\\a"},
        {"<UnInstallExePath>x", "x"},
        {"<RunTimeDir_3>x<RunTimeDir_9>", "\\x<RunTimeDir_9>"},
        {"<RunTimeDir_1>", ""},
    };
    RunCases(std::begin(cases), std::end(cases), Env());
}

TEST(Macros, SecondGroupAndDrives) {
    const Case cases[] = {
        {"<WINDIR>a", "C:\\Windows\\a"},
        {"<windir>a", "C:\\Windows\\a"},
        {"<WinSysDir>a", "C:\\Windows\\system32\\a"},
        {"<WinSys32Dir>a", "C:\\Windows\\system32\\a"},
        {"<WinSys16Dir>a", "C:\\Windows\\system\\a"},
        {"<InstallDrive>x", "C:\\x"},
        {"<InstallDisk>x", "C:x"},
        {"<WinDrive>|<WinSysDisk>|<OriginDrive>|<OriginDisk>", "C:\\|C:|F:\\|F:"},
        {"<StartMenuDir>a", "C:\\Menu\\a"},
        {"<ProgramFilesDir>a", "C:\\Program Files\\a"},
        {"<CommonFilesDir>a", "C:\\Program Files\\Common Files\\a"},
        {"<FontDir>a", "C:\\Windows\\Fonts\\a"},
        {"<SrcDir>a", "E:\\Src\\a"},
        {"<OriginDir>a", "F:\\Origin\\a"},
        {"<TempDir>a", "C:\\Temp\\a"},
        {"<ServiceDir>a", "E:\\Src\\a"},
        {"<UserDir>a", "C:\\Users\\jo\\a"},
        {"<UserAppDataDir>a", "C:\\Users\\jo\\AppData\\Roaming\\a"},
        {"<UserDesktopDir>", "C:\\Users\\jo\\Desktop"},
        // A drive root: the doubled backslash is cleaned up.
        {"<AllUsersDir>a", "C:\\a"},
        // Unset folders still get the separator.
        {"<MyDocumentsDir>a", "\\a"},
        {"<InstallDir><UnknownMacro>", "C:\\Prog\\App\\<UnknownMacro>"},
    };
    RunCases(std::begin(cases), std::end(cases), Env());
}

TEST(Macros, NamesAndNumbers) {
    const Case cases[] = {
        {"<LoggedUserName>/<UserName>/<CompanyName>", "jo/Owner/Org"},
        {"<ComputerName>.<CurrentDomainName>", "PC1.DOM"},
        {"<LastExecutableExitCode><ReqFreeDiskSpaceMB>", "00"},
        {"[<EnteredUserName><EnteredCompanyName><EnteredSerialNum><EnteredStartProgramMenu>"
         "<VendorCompanyName><ProjectName><ProgramDescriptiveName><ProgramVersion>"
         "<SelectedLanguage>]",
         "[]"},
        // Names alone are no folder replacement: no path clean-up.
        {"a\\\\b<ComputerName>", "a\\\\bPC1"},
        {"no macros \\\\ here", "no macros \\\\ here"},
    };
    RunCases(std::begin(cases), std::end(cases), Env());
    MacroEnvironment e = Env();
    e.userName.clear();
    EXPECT_EQ(ExpandMacrosWith("<UserName>", "\\", e), "jo");
}

TEST(Macros, DateCodes) {
    const Case cases[] = {
        {"<Date=6>", "2026-03-07"},
        {"log_<Date=1>.txt", "log_07-03-26.txt"},
        {"<Date=2>", "03-07-26"},
        {"<Date=3>", "26-03-07"},
        {"<Date=4>", "07-03-2026"},
        {"<Date=5>", "03-07-2026"},
        {"<Date=7>", "2026-03-07 09:05:04"},
        {"<Date=#>", "07/March/2026"},
        {"<Date=0>", "9562"},
        {"<Date=9>", "<Date=9>"},
        {"<Date=6", "<Date=6"},
        {"<DATE=6>", "2026-03-07"},
        // Only the first occurrence.
        {"<Date=6>,<Date=6>", "2026-03-07,<Date=6>"},
        // The byte after the code goes, whatever it is.
        {"<Date=6x>", "2026-03-07>"},
    };
    RunCases(std::begin(cases), std::end(cases), Env());
    MacroEnvironment e = Env();
    e.dateSeparator = '.';
    e.longMonthNames[2] = "Maerz";
    EXPECT_EQ(ExpandMacrosWith("<Date=#>", "\\", e), "07.Maerz.2026");
}

TEST(Macros, DotFolders) {
    const Case cases[] = {
        {"<InstallDir>..\\x.exe", "FULL(C:\\Prog\\App\\..\\x.exe)"},
        {"|<InstallDir>\\..\\a|<WinDir>|", "|FULL(C:\\Prog\\App\\..\\a)|C:\\Windows|"},
        {",a\\..\\b,<ComputerName>,..\\d", ",FULL(a\\..\\b),PC1,FULL(..\\d)"},
        {"<ComputerName>..\\x", "FULL(PC1..\\x)"},
        {"..\\nomacro", "..\\nomacro"},
    };
    RunCases(std::begin(cases), std::end(cases), Env());
}

TEST(Macros, OtherSeparatorAndEmptyText) {
    MacroEnvironment e = Env();
    EXPECT_EQ(ExpandMacrosWith("<InstallDir>x", "/", e), "C:\\Prog\\App/x");
    EXPECT_EQ(ExpandMacrosWith("<InstallDir>x", "", e), "C:\\Prog\\Appx");
    EXPECT_EQ(ExpandMacrosWith("", "\\", e), "");
    EXPECT_EQ(ExpandMacrosWith("<", "\\", e), "<");
}

} // namespace
