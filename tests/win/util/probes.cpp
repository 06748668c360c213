#include "tests/win/util/probes.h"

#include "stub/util/files.h"
#include "stub/util/sysinfo.h"
#include "stub/util/utils.h"
#include "tests/support/wine_test_support.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>

namespace probes {

std::string SelfPath() {
    char path[32768];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n);
}

std::string ProbeCommand(const std::string& exe, const std::string& probe,
                         const std::string& args) {
    return "\"" + exe + "\" --util-probe=" + probe + " " + args;
}

CaptureStdout::CaptureStdout(const std::string& file) {
    std::fflush(stdout);
    int fd = _open(file.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, 0666);
    if (fd < 0) return;
    saved_ = _dup(_fileno(stdout));
    _dup2(fd, _fileno(stdout));
    _close(fd);
}

CaptureStdout::~CaptureStdout() {
    std::fflush(stdout);
    if (saved_ < 0) return;
    _dup2(saved_, _fileno(stdout));
    _close(saved_);
}

namespace {

std::string ProbeName() {
    const char* line = GetCommandLineA();
    const char* p = line != nullptr ? std::strstr(line, "--util-probe=") : nullptr;
    if (p == nullptr) return std::string();
    p += std::strlen("--util-probe=");
    return std::string(p, std::strcspn(p, " "));
}

// Reports the command-line reader's answers, one per line, to /Out.
int CmdlineProbe() {
    const std::string out = GetCmdValue("/Out", "");
    std::string s;
    s += CommandTail() + "\n";
    s += GetCmdValue("/SleepX", "-1") + "\n";
    s += std::to_string(GetCmdInt("/SleepX", -1)) + "\n";
    s += GetCmdValue("/Empty", "default") + "\n";
    s += GetCmdValue("/Missing", "default") + "\n";
    s += GetCmdValue("/Name", "") + "\n";
    s += std::to_string(GetCmdInt("/Name", 7)) + "\n";
    s += GetCmdValue("-dash", "") + "\n";
    s += std::string(HasCmdWord("word1") ? "1" : "0") + (HasCmdWord("word") ? "1" : "0") + "\n";
    return testsupport::WriteWholeFile(out, s) ? 0 : 2;
}

int OSClassProbe() {
    std::string version, name, servicePack;
    uint32_t build = 0;
    uint32_t flag = OSClass(version, name, servicePack, build);
    const std::string out = GetCmdValue("/Out", "");
    testsupport::WriteWholeFile(out, version + "\n" + name + "\n" + (IsWin8OrLater() ? "1" : "0"));
    return static_cast<int>(flag);
}

struct ProbeRunner {
    ProbeRunner() {
        const std::string probe = ProbeName();
        if (probe.empty()) return;
        int code = 3;
        if (probe == "cmdline") code = CmdlineProbe();
        if (probe == "osclass") code = OSClassProbe();
        if (probe == "deleteself") {
            DeleteMySelf(true, GetCmdInt("/Short", 0) != 0);
            code = 0;
        }
        if (probe == "waitquit") {
            // A quit posted during the wait must reach the loop after it.
            PostQuitMessage(5);
            WaitPumping(0, 50);
            MSG msg;
            code = GetMessageA(&msg, nullptr, 0, 0) == 0 ? static_cast<int>(msg.wParam) : 9;
        }
        std::fflush(stdout);
        ExitProcess(static_cast<UINT>(code));
    }
} probeRunner;

} // namespace
} // namespace probes
