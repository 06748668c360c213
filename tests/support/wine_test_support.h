#pragma once
// Helpers shared by the tests that run under Wine.
#include <string>

namespace testsupport {

// Folder of the shipped binaries (dist/), as a Windows path.
std::string DistDir();
// The project's source folder, as a Windows path.
std::string SourceDir();
// A fresh empty folder under the user's temp folder; removed by ~TempDir.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};
// Sets the Windows version Wine reports to the program with this file name
// ("win7", "win8", "winxp", ...); an empty version removes the setting.
bool SetWineAppVersion(const std::string& exeName, const std::string& version);
// Runs a command line, waits up to timeoutMs, returns its exit code or -1.
long RunAndWait(const std::string& commandLine, unsigned timeoutMs = 60000);
std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& bytes);

} // namespace testsupport
