#pragma once
// Unit ShellDir: the user's and all users' special folders, asked from the
// shell (loaded by name) and, when that fails, built from the Windows folder,
// so that a value is always produced. withSlash: exactly one trailing
// backslash; otherwise none.
#include <string>

namespace shelldir {

std::string UserDir(bool withSlash);
std::string DocumentsAndSettingsDir(bool withSlash);
std::string AllUsersDir(bool withSlash);
std::string UserAppDataDir(bool withSlash);
std::string UserLocalAppDataDir(bool withSlash);
std::string AllUsersAppDataDir(bool withSlash);
std::string MyDocumentsDir(bool withSlash);
std::string AllUsersDocumentsDir(bool withSlash);
std::string UserStartMenuDir(bool withSlash);
std::string AllUsersStartMenuDir(bool withSlash);
std::string UserStartProgramMenuDir(bool withSlash);
std::string AllUsersStartProgramMenuDir(bool withSlash);
std::string UserDesktopDir(bool withSlash);
std::string AllUsersDesktopDir(bool withSlash);

// The fallback base: Windows folder + "Profiles\" + registered owner when
// that exists, else the Windows folder.
std::string ProfilesDir(bool withSlash);

// Test seam: the shell functions count as missing while hidden.
void SetShellFunctionsHidden(bool hidden);

} // namespace shelldir
