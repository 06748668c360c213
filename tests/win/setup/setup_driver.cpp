#include "tests/win/setup/setup_driver.h"

#include "tests/support/wine_test_support.h"

#include <cstdint>

namespace setuptest {
namespace {

std::string ClassOf(HWND w) {
    char buf[256] = {};
    GetClassNameA(w, buf, sizeof buf);
    return buf;
}

std::string TextOf(HWND w) {
    // Sent, not GetWindowText: that one answers a window of another process
    // from the caption alone, which a text control does not keep.
    std::string s(65536, '\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutA(w, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(&s[0]),
                             SMTO_ABORTIFHUNG, 2000, &got))
        got = 0;
    s.resize(got < s.size() ? size_t(got) : 0);
    return s;
}

std::string WithoutAmpersand(const std::string& s) {
    std::string out;
    for (char c : s)
        if (c != '&') out += c;
    return out;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    Box& box = *reinterpret_cast<Box*>(param);
    const std::string cls = ClassOf(child);
    if (SameClass(cls, "Button")) {
        box.buttons.push_back({WithoutAmpersand(TextOf(child)), child});
    } else {
        // The text control: a Rich Edit control, or an edit control without it.
        const std::string t = TextOf(child);
        if (t.size() > box.text.size()) box.text = t;
    }
    return TRUE;
}

std::string g_console;
UINT g_debugMessage = 0;

LRESULT CALLBACK CaptureProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (g_debugMessage != 0 && m == g_debugMessage) {
        char buf[512] = {};
        const UINT n = GlobalGetAtomNameA(ATOM(lp), buf, sizeof buf);
        g_console.append(buf, n);
        return 1;
    }
    return DefWindowProcA(w, m, wp, lp);
}

void PumpFor(DWORD ms) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

bool SameClass(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

bool Pack(const std::string& payload, const std::string& out, const std::string& args) {
    const std::string dist = testsupport::DistDir();
    std::string cl = "\"" + dist + "\\stubpack.exe\" build --stub \"" + dist +
                     "\\stub.exe\" --quiet --out \"" + out + "\"";
    if (!payload.empty()) cl += " --payload \"" + payload + "\"";
    if (!args.empty()) cl += " " + args;
    return testsupport::RunAndWait(cl, 120000) == 0;
}

void MakePayload(const std::string& folder) {
    CreateDirectoryA(folder.c_str(), nullptr);
    CopyFileA((testsupport::DistDir() + "\\Engine.exe").c_str(), (folder + "\\Engine.exe").c_str(),
              FALSE);
    testsupport::WriteWholeFile(folder + "\\readme.txt", "A setup made by the tests.\r\n");
}

bool Box::Press(const std::string& caption) const {
    for (const auto& b : buttons) {
        if (b.first == caption) {
            PostMessageA(b.second, BM_CLICK, 0, 0);
            return true;
        }
    }
    return false;
}

Box FindBox(DWORD pid, const std::string& textPart) {
    HWND w = nullptr;
    while ((w = FindWindowExA(nullptr, w, "KMsgBox", nullptr)) != nullptr) {
        if (!IsWindowVisible(w)) continue;
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (pid != 0 && owner != pid) continue;
        Box box;
        box.window = w;
        box.title = TextOf(w);
        EnumChildWindows(w, CollectChild, reinterpret_cast<LPARAM>(&box));
        if (pid == 0 && (textPart.empty() || box.text.find(textPart) == std::string::npos))
            continue;
        // The buttons are made after the text; wait until they are there.
        if (box.buttons.empty()) continue;
        return box;
    }
    return Box();
}

void GiveOwnTime(const std::string& file) {
    static unsigned calls = 0;
    HANDLE f =
        CreateFileA(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    FILETIME ft = {};
    GetSystemTimeAsFileTime(&ft);
    ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
    const unsigned offset = (GetCurrentProcessId() * 37u + ++calls * 6u) % 80000u + 4u;
    t.QuadPart -= uint64_t(offset) * 10000000ull;
    ft.dwLowDateTime = t.LowPart;
    ft.dwHighDateTime = t.HighPart;
    SetFileTime(f, nullptr, nullptr, &ft);
    CloseHandle(f);
}

StubRun RunStub(const std::string& commandLine, const Env& env, const BoxAnswer& answer,
                unsigned timeoutMs, const std::function<void(DWORD)>& onTick,
                const std::string& boxText) {
    StubRun run;
    for (const auto& e : env)
        SetEnvironmentVariableA(e.first.c_str(), e.second.c_str());
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string cl = commandLine;
    const BOOL started =
        CreateProcessA(nullptr, &cl[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    for (const auto& e : env)
        SetEnvironmentVariableA(e.first.c_str(), nullptr);
    if (!started) return run;
    run.pid = pi.dwProcessId;
    const DWORD start = GetTickCount();
    HWND answered = nullptr;
    while (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(pi.hProcess, 1);
            WaitForSingleObject(pi.hProcess, 5000);
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
            return run;
        }
        const DWORD boxPid = boxText.empty() ? run.pid : 0;
        Box box = FindBox(boxPid, boxText);
        if (box.window && box.window != answered) {
            // Let the box settle into its modal loop before it is answered.
            PumpFor(200);
            box = FindBox(boxPid, boxText);
            if (box.window) {
                answered = box.window;
                run.boxes.push_back(box);
                if (answer) answer(box);
            }
        }
        if (onTick) onTick(run.pid);
        PumpFor(20);
    }
    run.elapsedMs = GetTickCount() - start;
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    run.exitCode = long(code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    PumpFor(50);
    return run;
}

Record ReadRecord(const std::string& path) {
    Record r;
    const std::string text = testsupport::ReadWholeFile(path);
    size_t p = 0;
    while (p < text.size()) {
        size_t e = text.find("\r\n", p);
        if (e == std::string::npos) e = text.size();
        const std::string line = text.substr(p, e - p);
        const size_t eq = line.find('=');
        if (eq != std::string::npos) r[line.substr(0, eq)] = line.substr(eq + 1);
        p = e + 2;
    }
    return r;
}

std::string SetupFolderOf(const std::string& file) {
    WIN32_FILE_ATTRIBUTE_DATA attr = {};
    GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &attr);
    FILETIME local = {};
    WORD date = 0, time = 0;
    FileTimeToLocalFileTime(&attr.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "SETUP_" + std::to_string(time);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool GoneWithin(const std::string& path, unsigned ms) {
    const DWORD start = GetTickCount();
    while (Exists(path)) {
        if (GetTickCount() - start > ms) return false;
        PumpFor(100);
    }
    return true;
}

ConsoleCapture::ConsoleCapture() {
    g_console.clear();
    g_debugMessage = RegisterWindowMessageA(".K_DebugMsg.");
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CaptureProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = ".KDebug.";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, ".KDebug.", "setup tests", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                              nullptr, wc.hInstance, nullptr);
}

ConsoleCapture::~ConsoleCapture() {
    if (window_) DestroyWindow(window_);
}

std::string ConsoleCapture::Text() const {
    return g_console;
}

} // namespace setuptest
