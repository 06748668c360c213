#pragma once
// Unit RunTimeDir: the Windows, system and program folders behind the path
// macros. withSlash: exactly one trailing backslash; otherwise none.
#include <string>

namespace runtimedir {

std::string WinDir(bool withSlash);
std::string WinSysDir(bool withSlash);
// The system folder without its last "32" when that exists, else the
// Windows folder's "System", else the system folder.
std::string WinSys16Dir(bool withSlash);
std::string FontDir(bool withSlash);
std::string ProgramFilesDir(bool withSlash);
std::string CommonFilesDir(bool withSlash);
std::string StartMenuDir(bool withSlash);
// The running executable's folder.
std::string SrcDir(bool withSlash);
std::string ServiceDir(bool withSlash);
// Folder of "/OriginExe" when given, else of the running executable; computed once.
std::string OriginDir(bool withSlash);
std::string TempDirectory(bool withSlash);
// The stub holds no run-time folder descriptions: always empty.
std::string RunTimeDir(int index, bool withSlash);

} // namespace runtimedir
