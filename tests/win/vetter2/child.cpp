#include "tests/win/vetter2/child.h"

#include "tests/win/vetter2/plugin.h"

#include <cstdio>
#include <cstdlib>

namespace v2 {

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
