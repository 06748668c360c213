#include "stub/util/process.h"

#include "stub/util/handles.h"
#include "stub/util/utils.h"

#include <tlhelp32.h>

#include <algorithm>

namespace {

constexpr DWORD kPipeReadMax = 30000;
constexpr DWORD kStartupFlags =
    STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK;
constexpr DWORD kStillActive = 259;
constexpr DWORD kCancelledExitCode = 255;
#ifndef _WIN64
static_assert(sizeof(PROCESSENTRY32) == 296, "ToolHelp entry of a 32-bit process");
#endif

struct Pipe {
    win::Handle read, write;
};

bool MakePipe(Pipe& p, bool parentReads) {
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    if (!CreatePipe(p.read.receive(), p.write.receive(), &sa, 0)) return false;
    // The parent's end stays out of the child, so the child holds only its own.
    HANDLE parentEnd = parentReads ? p.read.get() : p.write.get();
    SetHandleInformation(parentEnd, HANDLE_FLAG_INHERIT, 0);
    COMMTIMEOUTS t = {};
    t.ReadTotalTimeoutConstant = 10;
    SetCommTimeouts(p.read.get(), &t);
    SetCommTimeouts(p.write.get(), &t);
    return true;
}

struct Reader {
    CaptureCallback callback;
    void* user;
    bool cancel = false;
    std::vector<char> buffer = std::vector<char>(kPipeReadMax);

    // One read of what the pipe holds; true when more was pending than read.
    bool Read(HANDLE pipe, std::string& text) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0)
            return false;
        DWORD got = 0;
        if (!ReadFile(pipe, buffer.data(), std::min(available, kPipeReadMax), &got, nullptr) ||
            got == 0)
            return false;
        OemToCharBuffA(buffer.data(), buffer.data(), got);
        const std::string chunk(buffer.data(), got);
        text += chunk;
        if (callback != nullptr) callback(user, chunk, cancel);
        return got < available;
    }
};

} // namespace

bool RunCaptured(const std::string& program, const std::string& parameters, int showMode,
                 CaptureCallback callback, void* user, DWORD waitAfterMs, std::string& errorText,
                 std::string& outputText, DWORD& exitCode) {
    errorText.clear();
    outputText.clear();
    exitCode = kLaunchFailedExitCode;
    std::string line = BuildCommandLine(program, parameters);

    Pipe in, out, err;
    bool piped = MakePipe(in, false) && MakePipe(out, true) && MakePipe(err, true);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = kStartupFlags;
    si.wShowWindow = static_cast<WORD>(showMode);
    si.hStdInput = in.read.get();
    si.hStdOutput = out.write.get();
    si.hStdError = err.write.get();
    PROCESS_INFORMATION pi = {};
    std::vector<char> mutableLine(line.begin(), line.end());
    mutableLine.push_back('\0');
    if (!piped || !CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, TRUE,
                                  IDLE_PRIORITY_CLASS, nullptr, nullptr, &si, &pi)) {
        errorText = LaunchErrorText(line, LastErrorText());
        if (callback != nullptr) {
            bool ignored = false;
            callback(user, errorText + "\r\n", ignored);
        }
        return false;
    }
    win::Handle process(pi.hProcess), thread(pi.hThread);

    Reader reader{callback, user};
    int step = FirstPollStep(callback != nullptr);
    bool ended = false, more = false, terminated = false;
    do {
        // The wait result, not the exit code, says whether the child ended:
        // a child may exit with 259 itself.
        ended = WaitForSingleObject(process.get(), static_cast<DWORD>(step)) == WAIT_OBJECT_0;
        more = reader.Read(out.read.get(), outputText);
        more = reader.Read(err.read.get(), errorText) || more;
        if (reader.cancel && !ended && !terminated) {
            TerminateProcess(process.get(), kCancelledExitCode);
            terminated = true;
        }
        if (!GetExitCodeProcess(process.get(), &exitCode)) exitCode = kStillActive;
        step = NextPollStep(step, !outputText.empty());
    } while (!ended || more);

    if (waitAfterMs > 0) WaitPumping(0, static_cast<int>(waitAfterMs));
    while (reader.Read(out.read.get(), outputText)) {
    }
    while (reader.Read(err.read.get(), errorText)) {
    }
    return exitCode == 0;
}

std::vector<SnapshotProcess> ProcessSnapshot() {
    using SnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
    using WalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
    static const SnapshotFn snapshot =
        LoadProc<SnapshotFn>("kernel32.dll", "CreateToolhelp32Snapshot");
    static const WalkFn first = LoadProc<WalkFn>("kernel32.dll", "Process32First");
    static const WalkFn next = LoadProc<WalkFn>("kernel32.dll", "Process32Next");
    std::vector<SnapshotProcess> list;
    if (snapshot == nullptr || first == nullptr || next == nullptr) return list;
    win::File snap(snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snap) return list;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL ok = first(snap.get(), &entry); ok; ok = next(snap.get(), &entry)) {
        const size_t n = strnlen(entry.szExeFile, sizeof entry.szExeFile);
        list.push_back({entry.th32ProcessID, std::string(entry.szExeFile, n)});
        entry.dwSize = sizeof entry;
    }
    return list;
}

namespace {

struct WindowWalk {
    std::vector<SnapshotProcess> processes;
    TProcessData* data;

    std::string FileNameOf(DWORD pid) const {
        for (const SnapshotProcess& p : processes)
            if (p.processId == pid) return p.exeFile;
        return std::string();
    }
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM param) {
    WindowWalk& walk = *reinterpret_cast<WindowWalk*>(param);
    TProcessData::WindowInfo w;
    DWORD pid = 0;
    w.threadId = GetWindowThreadProcessId(window, &pid);
    w.processId = pid;
    w.fileName = walk.FileNameOf(pid);
    w.className = WindowClassOf(window);
    w.handle = reinterpret_cast<uintptr_t>(window);
    w.title = WindowTextOf(window);
    w.visible = IsWindowVisible(window) != FALSE;
    return walk.data->Consider(w) ? TRUE : FALSE;
}

} // namespace

void EnumProcessWindows(bool allWindows, const std::string& wantedFileName, int64_t wantedProcessId,
                        TProcessData& data) {
    data.allWindows = allWindows;
    data.wantedFileName = wantedFileName;
    data.wantedProcessId = wantedProcessId;
    data.Reset();
    WindowWalk walk{ProcessSnapshot(), &data};
    EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&walk));
}

std::string ProcessList(bool byPid, bool byWindow) {
    TProcessData data;
    EnumProcessWindows(true, "*", -1, data);
    return ProcessListOf(data, byPid, byWindow);
}
