#include "stub/paths/macros.h"
#include "stub/paths/runtimedir.h"
#include "stub/paths/shelldir.h"
#include "stub/util/paths.h"
#include "stub/util/sysinfo.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

using FolderFn = std::string (*)(bool);

struct Named {
    const char* name;
    FolderFn fn;
};

const Named kFolders[] = {
    {"UserDir", shelldir::UserDir},
    {"DocumentsAndSettingsDir", shelldir::DocumentsAndSettingsDir},
    {"AllUsersDir", shelldir::AllUsersDir},
    {"UserAppDataDir", shelldir::UserAppDataDir},
    {"UserLocalAppDataDir", shelldir::UserLocalAppDataDir},
    {"AllUsersAppDataDir", shelldir::AllUsersAppDataDir},
    {"MyDocumentsDir", shelldir::MyDocumentsDir},
    {"AllUsersDocumentsDir", shelldir::AllUsersDocumentsDir},
    {"UserStartMenuDir", shelldir::UserStartMenuDir},
    {"AllUsersStartMenuDir", shelldir::AllUsersStartMenuDir},
    {"UserStartProgramMenuDir", shelldir::UserStartProgramMenuDir},
    {"AllUsersStartProgramMenuDir", shelldir::AllUsersStartProgramMenuDir},
    {"UserDesktopDir", shelldir::UserDesktopDir},
    {"AllUsersDesktopDir", shelldir::AllUsersDesktopDir},
    {"ProfilesDir", shelldir::ProfilesDir},
    {"WinDir", runtimedir::WinDir},
    {"WinSysDir", runtimedir::WinSysDir},
    {"WinSys16Dir", runtimedir::WinSys16Dir},
    {"FontDir", runtimedir::FontDir},
    {"ProgramFilesDir", runtimedir::ProgramFilesDir},
    {"CommonFilesDir", runtimedir::CommonFilesDir},
    {"StartMenuDir", runtimedir::StartMenuDir},
    {"SrcDir", runtimedir::SrcDir},
    {"ServiceDir", runtimedir::ServiceDir},
    {"OriginDir", runtimedir::OriginDir},
    {"TempDirectory", runtimedir::TempDirectory},
};

bool IsFolder(const std::string& p) {
    DWORD a = GetFileAttributesA(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void ExpectSlashRule(const Named& f) {
    std::string with = f.fn(true), without = f.fn(false);
    ASSERT_GE(with.size(), 2u) << f.name;
    EXPECT_EQ(with.back(), '\\') << f.name << ": " << with;
    EXPECT_NE(with[with.size() - 2], '\\') << f.name << ": " << with;
    EXPECT_NE(without.back(), '\\') << f.name << ": " << without;
    EXPECT_EQ(PathSlash(without, true), with) << f.name;
}

class ShellHidden {
  public:
    ShellHidden() { shelldir::SetShellFunctionsHidden(true); }
    ~ShellHidden() { shelldir::SetShellFunctionsHidden(false); }
};

TEST(Folders, EveryFolderWithTheFlagEndsInOneBackslash) {
    for (const Named& f : kFolders)
        ExpectSlashRule(f);
    ShellHidden hidden;
    for (const Named& f : kFolders)
        ExpectSlashRule(f);
    EXPECT_EQ(runtimedir::RunTimeDir(1, true), "");
}

TEST(Folders, ShellAnswersAreExistingFolders) {
    for (FolderFn fn : {shelldir::UserAppDataDir, shelldir::MyDocumentsDir,
                        shelldir::AllUsersAppDataDir, shelldir::UserDesktopDir})
        EXPECT_TRUE(IsFolder(fn(true))) << fn(true);
    // The user folder is the parent of the documents folder.
    std::string docs = shelldir::MyDocumentsDir(false);
    EXPECT_EQ(shelldir::UserDir(true), docs.substr(0, docs.rfind('\\') + 1));
    std::string user = shelldir::UserDir(false);
    EXPECT_EQ(shelldir::DocumentsAndSettingsDir(true), user.substr(0, user.rfind('\\') + 1));
}

TEST(Folders, AllUsersDirBelowADriveRootIsThatRoot) {
    std::string common = shelldir::AllUsersAppDataDir(false);
    size_t cut = common.rfind('\\');
    ASSERT_NE(cut, std::string::npos);
    if (cut != 2) GTEST_SKIP() << "common application data is not below a drive root: " << common;
    EXPECT_EQ(shelldir::AllUsersDir(true), common.substr(0, 3));
}

TEST(Folders, FallbacksWithoutTheShellFunctions) {
    const std::string win = WindowsDir(true);
    // An empty owner name (a fresh Wine prefix) leaves the Profiles folder itself.
    const std::string profile = PathSlash(win + "Profiles\\" + RegisteredOwner(), false);
    ShellHidden hidden;
    // Without the profile folder the Windows folder is the base.
    if (!IsFolder(profile)) {
        EXPECT_EQ(shelldir::UserAppDataDir(false), win + "Application Data");
        EXPECT_EQ(shelldir::MyDocumentsDir(false), win + "My Documents");
        EXPECT_EQ(shelldir::UserDir(true), win);
    }
    EXPECT_EQ(shelldir::AllUsersDir(true), win);
    EXPECT_EQ(shelldir::AllUsersAppDataDir(false), win + "Application Data");
    EXPECT_EQ(shelldir::AllUsersDocumentsDir(false), win + "Documents");
    EXPECT_EQ(shelldir::AllUsersDesktopDir(false), win + "Desktop");
    EXPECT_EQ(shelldir::AllUsersStartProgramMenuDir(false), win + "Start Menu\\Programs");

    // With the profile folder present it becomes the base.
    bool made = !IsFolder(profile) && CreateDirectoryA((win + "Profiles").c_str(), nullptr) |
                                          CreateDirectoryA(profile.c_str(), nullptr);
    ASSERT_TRUE(IsFolder(profile));
    EXPECT_EQ(shelldir::UserAppDataDir(false), profile + "\\Application Data");
    EXPECT_EQ(shelldir::UserLocalAppDataDir(false), profile + "\\Application Data");
    EXPECT_EQ(shelldir::UserDir(false), profile);
    EXPECT_EQ(shelldir::UserDesktopDir(false), win + "Desktop"); // falls through to all users
    if (made) {
        RemoveDirectoryA(profile.c_str());
        RemoveDirectoryA((win + "Profiles").c_str());
    }
}

TEST(Folders, System16AndFonts) {
    std::string sys = SystemDir(false);
    std::string expected16 = sys.substr(0, sys.rfind("32")) + sys.substr(sys.rfind("32") + 2);
    if (!IsFolder(expected16))
        expected16 = IsFolder(WindowsDir(true) + "System") ? WindowsDir(true) + "System" : sys;
    EXPECT_EQ(runtimedir::WinSys16Dir(false), expected16);
    EXPECT_TRUE(IsFolder(runtimedir::FontDir(true)));
}

TEST(Macros, ExpandedWithThisMachine) {
    SetInstallationFolders("C:\\Prog\\App", "C:\\Prog\\Common\\", "");
    const std::string win = WindowsDir(true);
    struct Case {
        std::string text, expected;
    } cases[] = {
        {"<WinDir>notepad.exe", win + "notepad.exe"},
        {"<WINDIR>", WindowsDir(false)},
        {"<InstallDir>", "C:\\Prog\\App"},
        {"<InstallDir>bin\\app.exe", "C:\\Prog\\App\\bin\\app.exe"},
        {"<InstallCommonDir>x", "C:\\Prog\\Common\\x"},
        {"<Application Folder>x<InstallDir>", "C:\\Prog\\App\\x"},
        {"|<InstallDir>|<WinDir>|", "|C:\\Prog\\App|" + WindowsDir(false) + "|"},
        {"<Date=9>", "<Date=9>"},
        {"<SrcDir>x", ExeDir(true) + "x"},
        {"<TempDir>x", TempDir(true) + "x"},
        {"<AllUsersAppDataDir>x", shelldir::AllUsersAppDataDir(true) + "x"},
        {"<WinDir>system32\\..\\x.exe", win + "x.exe"},
        {"|<WinDir>a\\..\\b|c|", "|" + win + "b|c|"},
        {"<ComputerName>", ComputerName()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpandMacros(c.text, "\\"), c.expected) << c.text;

    SYSTEMTIME t;
    GetLocalTime(&t);
    char today[16];
    wsprintfA(today, "%04d-%02d-%02d", t.wYear, t.wMonth, t.wDay);
    EXPECT_EQ(ExpandMacros("<Date=6>", "\\"), today);
    SetInstallationFolders("", "", "");
}

} // namespace
