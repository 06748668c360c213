#include "tests/support/wine_test_support.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testsupport {
namespace {

// Wine maps the Linux root to drive Z:.
std::string FromUnixEnv(const char* name) {
    const char* v = std::getenv(name);
    if (!v || !*v) return std::string();
    std::string p = std::string("Z:") + v;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = dir + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

} // namespace

std::string DistDir() { return FromUnixEnv("STUB_DIST"); }
std::string SourceDir() { return FromUnixEnv("STUB_SOURCE"); }

TempDir::TempDir() {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        std::ostringstream name;
        name << base << "stubtest_" << GetCurrentProcessId() << "_" << ++counter;
        if (CreateDirectoryA(name.str().c_str(), nullptr)) {
            path_ = name.str();
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

TempDir::~TempDir() {
    if (!path_.empty()) RemoveTree(path_);
}

bool SetWineAppVersion(const std::string& exeName, const std::string& version) {
    std::string key = "Software\\Wine\\AppDefaults\\" + exeName;
    if (version.empty()) return RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str()) == ERROR_SUCCESS;
    HKEY h = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(h, "Version", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(version.c_str()),
                             static_cast<DWORD>(version.size() + 1));
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

long RunAndWait(const std::string& commandLine, unsigned timeoutMs) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string cmd = commandLine;
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    long result = -1;
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        result = static_cast<long>(code);
    } else {
        TerminateProcess(pi.hProcess, 1);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace testsupport
