#include "tests/win/process/probes.h"

#include "stub/util/utils.h"
#include "tests/support/wine_test_support.h"

#include <cstring>
#include <fstream>
#include <vector>

namespace procprobes {

std::string SelfPath() {
    std::vector<char> path(32768);
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return std::string(path.data(), n);
}

std::string ProbeCommand(const std::string& exe, const std::string& probe,
                         const std::string& args) {
    return "\"" + exe + "\" --proc-probe=" + probe + " " + args;
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

bool WaitForText(const std::string& file, const std::string& text, DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        if (testsupport::ReadWholeFile(file).find(text) != std::string::npos) return true;
        Sleep(50);
    } while (GetTickCount() - start < ms);
    return false;
}

WindowChild::WindowChild(const std::string& exe, const std::string& title, const std::string& log,
                         const std::string& extra) {
    if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES &&
        !CopyFileA(SelfPath().c_str(), exe.c_str(), FALSE))
        return;
    std::string cmd = ProbeCommand(exe, "window",
                                   "/Title=" + Hex(title) + " /Log=" + Hex(log) +
                                       (extra.empty() ? "" : " " + extra));
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return;
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
    if (!WaitForText(log, "ready", 20000)) return;
    window_ = FindWindowA("ProcProbeWindow", title.c_str());
}

WindowChild::~WindowChild() {
    if (process_ == nullptr) return;
    if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

bool WindowChild::Ended(DWORD ms, DWORD* code) const {
    if (process_ == nullptr || WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return false;
    if (code != nullptr) GetExitCodeProcess(process_, code);
    return true;
}

namespace {

std::string Arg(const std::string& name) {
    const std::string line = GetCommandLineA();
    const std::string key = " " + name + "=";
    size_t p = line.find(key);
    if (p == std::string::npos) return std::string();
    p += key.size();
    return line.substr(p, line.find(' ', p) == std::string::npos ? std::string::npos
                                                                 : line.find(' ', p) - p);
}

std::string Unhex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

void Put(DWORD which, const std::string& bytes) {
    DWORD written = 0;
    WriteFile(GetStdHandle(which), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
              nullptr);
}

void Log(const std::string& line) {
    std::ofstream out(Unhex(Arg("/Log")), std::ios::binary | std::ios::app);
    out << line << "\n";
}

// Writes /Out and /Err (hex) to standard output and error, exits with /Code.
int PrintProbe() {
    Put(STD_OUTPUT_HANDLE, Unhex(Arg("/Out")));
    Put(STD_ERROR_HANDLE, Unhex(Arg("/Err")));
    return std::atoi(Arg("/Code").c_str());
}

// /Bytes bytes of a running pattern to standard output, half as many to error.
int BigProbe() {
    const size_t n = static_cast<size_t>(std::atol(Arg("/Bytes").c_str()));
    std::string out(n, 'x'), err(n / 2, 'y');
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<char>('a' + i % 26);
    Put(STD_OUTPUT_HANDLE, out);
    Put(STD_ERROR_HANDLE, err);
    return 0;
}

// How it was started: start-up flags, show mode and priority class.
int StartupProbe() {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    GetStartupInfoA(&si);
    Put(STD_OUTPUT_HANDLE, std::to_string(si.dwFlags) + " " + std::to_string(si.wShowWindow) + " " +
                               std::to_string(GetPriorityClass(GetCurrentProcess())));
    return 0;
}

// Prints once, then never ends by itself.
int ForeverProbe() {
    Put(STD_OUTPUT_HANDLE, "started\r\n");
    Sleep(INFINITE);
    return 0;
}

LRESULT CALLBACK ProbeProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CLOSE) {
        Log("close " + std::to_string(wp) + " " + std::to_string(lp));
        DestroyWindow(w);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(7);
        return 0;
    }
    if (msg == WM_TIMER) {
        KillTimer(w, 1);
        DestroyWindow(w);
        return 0;
    }
    if (msg >= WM_USER && msg < WM_APP) {
        Log("msg " + std::to_string(msg - WM_USER) + " " + std::to_string(wp) + " " +
            std::to_string(lp));
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

// A visible titled window (and an owned hidden untitled one before it);
// /CloseAfter=ms closes it by itself. The quit code is the exit code.
int WindowProbe() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ProcProbeWindow";
    RegisterClassA(&wc);
    const std::string title = Unhex(Arg("/Title"));
    HWND main = CreateWindowA("ProcProbeWindow", title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                              nullptr, nullptr, wc.hInstance, nullptr);
    CreateWindowA("ProcProbeWindow", "", WS_POPUP, 0, 0, 10, 10, main, nullptr, wc.hInstance,
                  nullptr);
    ShowWindow(main, SW_SHOWNORMAL);
    const int closeAfter = std::atoi(Arg("/CloseAfter").c_str());
    if (closeAfter > 0) SetTimer(main, 1, static_cast<UINT>(closeAfter), nullptr);
    Log("ready");
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    Log("quit " + std::to_string(m.wParam));
    return static_cast<int>(m.wParam);
}

struct ProbeRunner {
    ProbeRunner() {
        const char* line = GetCommandLineA();
        const char* p = line != nullptr ? std::strstr(line, "--proc-probe=") : nullptr;
        if (p == nullptr) return;
        p += std::strlen("--proc-probe=");
        const std::string name(p, std::strcspn(p, " "));
        int code = 99;
        if (name == "print") code = PrintProbe();
        if (name == "big") code = BigProbe();
        if (name == "startup") code = StartupProbe();
        if (name == "forever") code = ForeverProbe();
        if (name == "window") code = WindowProbe();
        ExitProcess(static_cast<UINT>(code));
    }
} runner;

} // namespace
} // namespace procprobes
