// Engine.exe stand-in: records its command line, current folder, show state
// and whether the atom of its "/TH_ID=" exists, can hold a window of the
// dialog class, deletes the atom unless told not to, and exits with the code
// it was told.
#include "testing/engine/engine.h"
#include "testing/engine/plugin_report.h"

#include "core/util/cmdline.h"
#include "core/util/numbers.h"

#include <windows.h>

#include <fstream>
#include <string>

namespace engine {

std::string RecordLine(const std::string& key, const std::string& value) {
    return key + "=" + value + "\r\n";
}

namespace {

std::string Env(const char* name) {
    DWORD n = GetEnvironmentVariableA(name, nullptr, 0);
    if (n == 0) return std::string();
    std::string v(n, '\0');
    v.resize(GetEnvironmentVariableA(name, &v[0], n));
    return v;
}

std::string ModulePath() {
    std::string p(32768, '\0');
    p.resize(GetModuleFileNameA(nullptr, &p[0], DWORD(p.size())));
    return p;
}

std::string CurrentFolder() {
    DWORD n = GetCurrentDirectoryA(0, nullptr);
    std::string p(n, '\0');
    p.resize(GetCurrentDirectoryA(n, &p[0]));
    return p;
}

std::string Bool(bool b) {
    return b ? "TRUE" : "FALSE";
}

// Holds a window of the dialog class for ms while answering messages.
void HoldDialog(const std::string& token, int64_t ms) {
    if (ms <= 0) return;
    const std::string cls = std::string(kDialogClassPrefix) + token;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = cls.c_str();
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, cls.c_str(), "Setup", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             wc.hInstance, nullptr);
    const ULONGLONG end = GetTickCount64() + ULONGLONG(ms);
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(end - now), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    if (w) DestroyWindow(w);
}

// A copy that holds the dialog window after this process has gone.
bool StartLingeringDialog(const std::string& token, int64_t ms) {
    std::string cl = "\"" + ModulePath() + "\" " + kLingerOption + std::to_string(ms) + " " +
                     kTokenOption + token;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &cl[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    // Wait until its window exists, so the stub cannot miss it.
    const std::string cls = std::string(kDialogClassPrefix) + token;
    for (int i = 0; i < 500 && !FindWindowA(cls.c_str(), nullptr); ++i)
        Sleep(10);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

} // namespace
} // namespace engine

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace engine;
    const std::string commandLine = GetCommandLineA();
    const std::string exePath = ModulePath();
    const std::string tail = CommandTailOf(commandLine, exePath);
    const std::string token = GetCmdValueOf(tail, kTokenOption, "");

    const int64_t linger = GetCmdIntOf(tail, kLingerOption, -1);
    if (linger >= 0) {
        HoldDialog(token, linger);
        return 0;
    }

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    GetStartupInfoA(&si);
    const std::string show =
        (si.dwFlags & STARTF_USESHOWWINDOW) ? std::to_string(si.wShowWindow) : "none";

    const std::string atomName = kAtomPrefix + token;
    const ATOM atom = token.empty() ? 0 : GlobalFindAtomA(atomName.c_str());

    std::string record;
    record += RecordLine("CommandLine", commandLine);
    record += RecordLine("CurrentFolder", CurrentFolder());
    record += RecordLine("ShowWindow", show);
    record += RecordLine("ThreadToken", token);
    record += RecordLine("OriginExe", GetCmdValueOf(tail, kOriginOption, ""));
    record += RecordLine("AtomFound", Bool(atom != 0));

    const int64_t dialogMs = TextToInt64(Env(kDialogMsVar), 0);
    HoldDialog(token, dialogMs);
    record += RecordLine("DialogMs", std::to_string(dialogMs > 0 ? dialogMs : 0));

    const int64_t lingerMs = TextToInt64(Env(kLingerMsVar), 0);
    if (lingerMs > 0 && !token.empty())
        record += RecordLine("LingerStarted", Bool(StartLingeringDialog(token, lingerMs)));

    bool deleted = false;
    if (atom != 0 && Env(kKeepAtomVar) != "1") {
        GlobalDeleteAtom(atom);
        deleted = GlobalFindAtomA(atomName.c_str()) == 0;
    }
    record += RecordLine("AtomDeleted", Bool(deleted));

    const std::string folder = exePath.substr(0, exePath.find_last_of('\\') + 1);
    record += PluginReport(folder);

    const int64_t code = TextToInt64(Env(kExitCodeVar), 0);
    record += RecordLine("ExitCode", std::to_string(uint32_t(code)));

    const std::string recordPath = Env(kRecordVar);
    if (!recordPath.empty()) {
        std::ofstream out(recordPath, std::ios::binary | std::ios::trunc);
        out << record;
    }
    return int(uint32_t(code));
}
