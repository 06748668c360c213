#include "stub/agent/processviewer.h"

#include "core/process/analizer.h"
#include "core/process/matching.h"
#include "core/process/tasklist.h"
#include "core/util/text.h"
#include "stub/util/handles.h"
#include "stub/util/process.h"
#include "stub/util/sysinfo.h"
#include "stub/util/utils.h"

#include <memory>
#include <vector>

namespace {

constexpr DWORD kQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ; // 0x410
constexpr DWORD kIdListStep = 1024;
constexpr WPARAM kCloseWParam = 15;
constexpr LPARAM kCloseLParam = 255;

using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using ModuleNameFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);

// Process ids, the buffer grown until the answer no longer fills it.
std::vector<DWORD> ProcessIds() {
    static const EnumProcessesFn enumProcesses =
        LoadProc<EnumProcessesFn>("psapi.dll", "EnumProcesses");
    if (enumProcesses == nullptr) return {};
    for (DWORD bytes = kIdListStep;; bytes += kIdListStep) {
        std::vector<DWORD> ids(bytes / sizeof(DWORD));
        DWORD returned = 0;
        if (!enumProcesses(ids.data(), bytes, &returned)) return {};
        if (returned < bytes) {
            ids.resize(returned / sizeof(DWORD));
            return ids;
        }
    }
}

// A module name of the process, without a length limit of its own.
std::string ModuleName(ModuleNameFn fn, HANDLE process, HMODULE module) {
    if (fn == nullptr) return std::string();
    for (DWORD size = 260; size <= 32768; size *= 2) {
        std::vector<char> buffer(size);
        DWORD n = fn(process, module, buffer.data(), size);
        if (n == 0) return std::string();
        if (n < size - 1) return std::string(buffer.data(), n);
    }
    return std::string();
}

ModuleNameFn FullNameFn() {
    static const ModuleNameFn fn = LoadProc<ModuleNameFn>("psapi.dll", "GetModuleFileNameExA");
    return fn;
}
ModuleNameFn BaseNameFn() {
    static const ModuleNameFn fn = LoadProc<ModuleNameFn>("psapi.dll", "GetModuleBaseNameA");
    return fn;
}

const ShortFormFn& ShortForms() {
    static const ShortFormFn fn = [](const std::string& p) { return ShortPathOf(p); };
    return fn;
}

uint32_t FindByTasklist(const std::string& target) {
    std::string error, output;
    DWORD code = 0;
    RunCaptured("tasklist.exe", "/FO csv", SW_HIDE, nullptr, nullptr, 0, error, output, code);
    return TasklistProcessId(output, target);
}

uint32_t FindByPsapi(const std::string& target, bool fullPathOnly) {
    static const EnumProcessModulesFn enumModules =
        LoadProc<EnumProcessModulesFn>("psapi.dll", "EnumProcessModules");
    if (enumModules == nullptr) return 0;
    const std::string targetShort = TargetShortForm(target, ShortForms());
    const std::vector<DWORD> ids = ProcessIds();
    for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
        win::Handle process(OpenProcess(kQueryAndRead, FALSE, *it));
        if (!process) continue;
        HMODULE module = nullptr;
        DWORD needed = 0;
        if (!enumModules(process.get(), &module, sizeof module, &needed)) continue;
        ProcessCandidate c;
        c.fullName = ModuleName(FullNameFn(), process.get(), module);
        c.baseName = fullPathOnly ? kNameHidden : ModuleName(BaseNameFn(), process.get(), module);
        if (c.fullName.empty() && c.baseName.empty()) continue;
        if (CandidateMatches(target, targetShort, c, ShortForms())) return *it;
    }
    return 0;
}

uint32_t FindByToolhelp(const std::string& target, bool fullPathOnly) {
    const std::string targetShort = TargetShortForm(target, ShortForms());
    uint32_t found = 0;
    for (const SnapshotProcess& p : ProcessSnapshot()) {
        ProcessCandidate c;
        c.fullName = p.exeFile;
        c.baseName = fullPathOnly ? kNameHidden : FileNamePart(p.exeFile);
        if (CandidateMatches(target, targetShort, c, ShortForms())) found = p.processId;
    }
    return found;
}

// The id IsProcessRunning and TerminateProcessByPath act on.
uint32_t IdByNameList(const std::string& target, bool fullPaths) {
    if (!IsWinNT()) return FindByToolhelp(target, false);
    // Only XP lists full paths; there the whole target is compared with them.
    const bool fullList = fullPaths && IsWinXP();
    return IdFromNameList(ProcessNameList(fullPaths), target, ShortForms(), fullList);
}

struct Collect {
    DWORD processId;
    TAnalizer* analizer;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    Collect& c = *reinterpret_cast<Collect*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == c.processId) c.analizer->Add(reinterpret_cast<uintptr_t>(window));
    return TRUE;
}

HWND AsWindow(TAnalizer::Window w) {
    return reinterpret_cast<HWND>(w);
}

} // namespace

std::string ShortPathOf(const std::string& path) {
    if (path.empty()) return std::string();
    DWORD size = GetShortPathNameA(path.c_str(), nullptr, 0);
    if (size == 0) return std::string();
    std::vector<char> buffer(size + 1);
    DWORD n = GetShortPathNameA(path.c_str(), buffer.data(), size + 1);
    if (n == 0 || n > size) return std::string();
    return std::string(buffer.data(), n);
}

ProcessListing CurrentProcessListing() {
    if (IsWin8OrLater()) return ProcessListing::Tasklist;
    return IsWinNT() ? ProcessListing::Psapi : ProcessListing::Toolhelp;
}

uint32_t FindProcessId(const std::string& target, bool fullPathOnly) {
    switch (CurrentProcessListing()) {
    case ProcessListing::Tasklist:
        return FindByTasklist(target);
    case ProcessListing::Psapi:
        return FindByPsapi(target, fullPathOnly);
    case ProcessListing::Toolhelp:
        break;
    }
    return FindByToolhelp(target, fullPathOnly);
}

std::string ProcessNameList(bool fullPaths) {
    if (!IsWinXP()) return ProcessList(true, false);
    std::string list = "|";
    for (DWORD id : ProcessIds()) {
        std::string name;
        if (id == 0) {
            name = "System Idle Process";
        } else {
            win::Handle process(OpenProcess(kQueryAndRead, FALSE, id));
            if (process) name = ModuleName(FullNameFn(), process.get(), nullptr);
            if (!fullPaths) name = FileNamePart(name);
        }
        if (!name.empty()) list += name + "=" + std::to_string(id) + "|";
    }
    return list;
}

bool IsProcessRunning(const std::string& target) {
    return IdByNameList(Unquote(target, true), false) != 0;
}

void WaitProcessEnd(const std::string& target, uint32_t ms) {
    const std::string t = Unquote(target, true);
    const DWORD limit = ms == 0 ? 1000 : ms;
    const DWORD start = GetTickCount();
    do {
        if (!IsProcessRunning(t)) return;
        WaitPumping(0, 100);
        // Elapsed time by subtraction, so the tick counter's wrap does not end the wait.
    } while (GetTickCount() - start <= limit);
}

void WaitWhileWindowExists(const std::string& className, const std::string& title) {
    while (FindWindowA(className.c_str(), title.empty() ? nullptr : title.c_str()) != nullptr)
        PumpMessages(100);
}

HWND FindProcessMainWindow(const std::string& target, bool fullPathOnly) {
    const uint32_t id = FindProcessId(target, fullPathOnly);
    if (id == 0) return nullptr;
    auto analizer = std::make_unique<TAnalizer>(id);
    Collect c{id, analizer.get()};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&c));
    TAnalizer::WindowFacts facts;
    facts.topOwner = [](TAnalizer::Window w) {
        return reinterpret_cast<TAnalizer::Window>(TopOwner(AsWindow(w)));
    };
    facts.hasTitle = [](TAnalizer::Window w) { return !WindowTextOf(AsWindow(w)).empty(); };
    facts.visible = [](TAnalizer::Window w) { return IsWindowVisible(AsWindow(w)) != FALSE; };
    analizer->Score(facts);
    return AsWindow(analizer->Best());
}

bool PostProcessMessage(const std::string& target, bool fullPathOnly, UINT message, WPARAM wParam,
                        LPARAM lParam) {
    HWND window = FindProcessMainWindow(target, fullPathOnly);
    if (window == nullptr) return false;
    PostMessageA(window, message, wParam, lParam);
    return true;
}

void CloseProcessWindow(const std::string& target, bool fullPathOnly, uint32_t waitMs) {
    PostProcessMessage(target, fullPathOnly, WM_CLOSE, kCloseWParam, kCloseLParam);
    if (waitMs > 0) WaitProcessEnd(target, waitMs);
}

void QuitProcessWindow(const std::string& target, bool fullPathOnly) {
    PostProcessMessage(target, fullPathOnly, WM_QUIT, kCloseWParam, kCloseLParam);
}

bool TerminateProcessByPath(const std::string& target, bool fullPathOnly) {
    const uint32_t id = IdByNameList(target, fullPathOnly);
    if (id == 0) return false;
    win::Handle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
    if (!process) return false;
    return TerminateProcess(process.get(), 0) != FALSE;
}
