#include "tests/win/vetter2/child.h"

#include "tests/win/vetter2/plugin.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace v2 {

namespace {
constexpr const char kOutputMarker[] = "--- plug-in output ---\n";
} // namespace

long RunChild(const std::string& caseName, const std::string& argument) {
    char self[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    SetEnvironmentVariableA("V2_CHILD", caseName.c_str());
    SetEnvironmentVariableA("V2_CHILD_ARG", argument.c_str());
    long code =
        testsupport::RunAndWait("\"" + std::string(self) + "\" --gtest_filter=ChildProcess.Run");
    SetEnvironmentVariableA("V2_CHILD", nullptr);
    SetEnvironmentVariableA("V2_CHILD_ARG", nullptr);
    return code;
}

long RunCapturing(const std::string& commandLine, std::string* output) {
    testsupport::TempDir dir;
    std::string file = dir.file("stdout.txt");
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return -1;
    std::string cmd = commandLine;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    long code = -1;
    if (CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        DWORD exit = 0;
        if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(pi.hProcess, &exit))
            code = long(exit);
        else
            TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(out);
    *output = testsupport::ReadWholeFile(file);
    // Standard output in text mode: line ends arrive as CR LF.
    output->erase(std::remove(output->begin(), output->end(), '\r'), output->end());
    return code;
}

long RunChildCapturing(const std::string& caseName, const std::string& argument,
                       std::string* output) {
    char self[MAX_PATH * 2] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    SetEnvironmentVariableA("V2_CHILD", caseName.c_str());
    SetEnvironmentVariableA("V2_CHILD_ARG", argument.c_str());
    long code =
        RunCapturing("\"" + std::string(self) + "\" --gtest_filter=ChildProcess.Run", output);
    SetEnvironmentVariableA("V2_CHILD", nullptr);
    SetEnvironmentVariableA("V2_CHILD_ARG", nullptr);
    size_t marker = output->find(kOutputMarker);
    output->erase(0, marker == std::string::npos ? 0 : marker + std::strlen(kOutputMarker));
    return code;
}

namespace {

std::string EnvText(const char* name) {
    char value[1024];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

// The child's cases. Each ends the process itself when the plug-in does not.
constexpr int kChildReturned = 200;

TEST(ChildProcess, Run) {
    std::string which = EnvText("V2_CHILD");
    if (which.empty()) GTEST_SKIP() << "runs only as a child of another case";
    std::string arg = EnvText("V2_CHILD_ARG");
    if (which == "fcconfig") {
        using Fn = int (*)(char*);
        Export<Fn>("?Read_FC_Config_File@@YAHPAD@Z")(&arg[0]);
    } else if (which == "string2int") {
        using Fn = int (*)(char*, int);
        Export<Fn>("?string2int@@YAHPADH@Z")(&arg[0], 16);
    } else if (which == "bitlocker") {
        std::fputs(kOutputMarker, stdout);
        std::fflush(stdout);
        int r = Export<int (*)()>("?CheckBitLocker@@YAHXZ")();
        std::fflush(stdout);
        std::_Exit(r);
    }
    std::fflush(stdout);
    std::_Exit(kChildReturned);
}

} // namespace

} // namespace v2
