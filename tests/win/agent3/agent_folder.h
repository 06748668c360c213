#pragma once
// An installed product folder with its plain agent (packed by stubpack) and
// a source folder the agent checks, for driving the real stub.exe agent from
// another process.
#include "tests/support/wine_test_support.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace agent3 {

constexpr char kToken[] = "Peer-Token-3";
constexpr char kCopyClass[] = ".AutoUpdate.X_Agent";
constexpr UINT kShutDownMsg = WM_USER + 99;
constexpr UINT kAgentMsg = WM_USER + 101;

inline bool WaitFor(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(200);
    }
    return true;
}

inline bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void Ini(const std::string& file, const char* section, const char* key,
                const std::string& v) {
    WritePrivateProfileStringA(section, key, v.c_str(), file.c_str());
}

inline std::string IniText(const std::string& file, const char* section, const char* key) {
    char buffer[256] = {};
    GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, file.c_str());
    return buffer;
}

inline size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

inline bool Pack(const std::string& payload, const std::string& out, const std::string& args) {
    const std::string dist = testsupport::DistDir();
    const std::string cl = "\"" + dist + "\\stubpack.exe\" build --stub \"" + dist +
                           "\\stub.exe\" --quiet --out \"" + out + "\" --payload \"" + payload +
                           "\" " + args;
    return testsupport::RunAndWait(cl, 120000) == 0;
}

// Every top-level window of the copy's class (normally one).
inline std::vector<HWND> CopyWindows() {
    std::vector<HWND> found;
    for (HWND w = FindWindowExA(nullptr, nullptr, kCopyClass, nullptr); w;
         w = FindWindowExA(nullptr, w, kCopyClass, nullptr))
        found.push_back(w);
    return found;
}

inline HWND WaitForCopyWindow(DWORD ms) {
    HWND w = nullptr;
    WaitFor([&] { return (w = FindWindowA(kCopyClass, nullptr)) != nullptr; }, ms);
    return w;
}

namespace detail {
struct BoxSearch {
    DWORD process;
    HWND box;
};
inline BOOL CALLBACK FindBox(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<BoxSearch*>(lp);
    char cls[32] = {};
    GetClassNameA(w, cls, sizeof cls);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != s->process || lstrcmpA(cls, "KMsgBox") != 0 || !IsWindowVisible(w)) return TRUE;
    s->box = w;
    return FALSE;
}
inline BOOL CALLBACK ClickFirstButton(HWND child, LPARAM) {
    char cls[16] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Button") != 0) return TRUE;
    PostMessageA(child, BM_CLICK, 0, 0);
    return FALSE;
}
} // namespace detail

// Clicks the first button of a message box the process shows (only its own:
// other programs' boxes share the desktop); false when there is none.
inline bool AnswerBoxesOf(DWORD process) {
    detail::BoxSearch search = {process, nullptr};
    EnumWindows(detail::FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.box) EnumChildWindows(search.box, detail::ClickFirstButton, 0);
    return search.box != nullptr;
}

// Ends every copy of the class, answering its boxes: the class is the same
// for an agent of this name in any folder.
inline void EndCopies() {
    WaitFor(
        [] {
            for (HWND w : CopyWindows()) {
                DWORD process = 0;
                GetWindowThreadProcessId(w, &process);
                AnswerBoxesOf(process);
                PostMessageA(w, kShutDownMsg, 0, 0);
            }
            return CopyWindows().empty();
        },
        15000);
}

// wm_AgentMsg from this process; -12345 when the copy does not answer.
inline int32_t Control(HWND copy, WPARAM code, LPARAM value) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(copy, kAgentMsg, code, value, SMTO_ABORTIFHUNG, 10000, &result))
        return -12345;
    return static_cast<int32_t>(result);
}

struct AgentFolder {
    testsupport::TempDir root;
    std::string app, src, pay, agentExe, copy, base, info, trace, product, engineRecord,
        productRecord;
    PROCESS_INFORMATION productProcess = {};

    AgentFolder() {
        app = root.file("app");
        src = root.file("src");
        pay = root.file("pay");
        CreateDirectoryA(app.c_str(), nullptr);
        CreateDirectoryA(src.c_str(), nullptr);
        CreateDirectoryA(pay.c_str(), nullptr);
        agentExe = app + "\\Agent.exe";
        copy = app + "\\X_Agent.exe";
        base = app + "\\app.original";
        info = src + "\\app.info";
        trace = app + "\\X_Agent.log";
        product = app + "\\Product.exe";
        engineRecord = root.file("engine.txt");
        productRecord = root.file("product.txt");
        SetEnvironmentVariableA("STANDIN_ENGINE_RECORD", engineRecord.c_str());
        SetEnvironmentVariableA("STANDIN_PRODUCT_RECORD", productRecord.c_str());
        SetEnvironmentVariableA("STANDIN_PRODUCT_IGNORE_CLOSE", nullptr);
        // A test-mode source left in the registry would replace ours.
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kolvane\\Tarnix\\AutoUpdate");
        // A copy left by an earlier run would take our messages.
        EndCopies();
    }

    ~AgentFolder() {
        // Whatever copy is left must end before the folder goes.
        EndCopies();
        if (productProcess.hProcess) {
            if (HWND w = FindWindowA("StandinProduct", nullptr)) PostMessageA(w, WM_DESTROY, 0, 0);
            WaitForSingleObject(productProcess.hProcess, 5000);
            CloseHandle(productProcess.hProcess);
        }
        WaitFor([&] { return !Exists(copy); }, 5000);
    }

    // The plain agent, its payload and the base descriptor at version 1.
    bool InstallAgent() {
        const std::string dist = testsupport::DistDir();
        if (!CopyFileA((dist + "\\Engine.exe").c_str(), (pay + "\\Engine.exe").c_str(), FALSE))
            return false;
        if (!testsupport::WriteWholeFile(pay + "\\readme.txt", "update\r\n")) return false;
        if (!CopyFileA((dist + "\\Product.exe").c_str(), product.c_str(), FALSE)) return false;
        Ini(base, "OriginalSetup", "VersionOriginal", "1");
        Ini(base, "OriginalSetup", "ProbeSecondsInterval", "3600");
        Ini(base, "Directories", "TargetDir", app);
        return Pack(pay, agentExe,
                    "--agent --trace-log --agent-name Agent.exe --descriptor app.info "
                    "--update-location \"" +
                        src + "\" --token " + kToken);
    }

    // Update.exe packed with token, offered as version 2 by the source.
    bool OfferUpdate(const std::string& token) {
        const std::string update = src + "\\Update.exe";
        if (!Pack(pay, update, "--token " + token)) return false;
        Ini(info, "NewSetup", "VersionNew", "2");
        Ini(info, "NewSetup", "Stamp", "1");
        Ini(info, "NewSetup", "DownloadURL_UPDATE", src);
        Ini(info, "NewSetup", "NameOfUpdateFile", "Update.exe");
        Ini(info, "NewSetup", "SizeOfUpdateFile",
            std::to_string(testsupport::ReadWholeFile(update).size()));
        Ini(info, "NewSetup", "ShutDownMethod", "Using WM_CLOSE");
        Ini(info, "NewSetup", "RunningProcess", "<InstallDir>Product.exe");
        Ini(info, "NewSetup", "RestartProcess", "1");
        Ini(info, "NewSetup", "InformFinish", "0");
        Ini(info, "NewSetup", "BackgroundUpdate", "1");
        return true;
    }

    bool StartProduct() {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string cl = "\"" + product + "\"";
        if (!CreateProcessA(nullptr, &cl[0], nullptr, nullptr, FALSE, 0, nullptr, app.c_str(), &si,
                            &productProcess))
            return false;
        CloseHandle(productProcess.hThread);
        WaitForInputIdle(productProcess.hProcess, 5000);
        return true;
    }

    bool ProductRunning() const {
        return productProcess.hProcess &&
               WaitForSingleObject(productProcess.hProcess, 0) == WAIT_TIMEOUT;
    }

    int RunAgent(const std::string& options) const {
        return testsupport::RunAndWait("\"" + agentExe + "\"" + options, 30000);
    }

    std::string Trace() const { return testsupport::ReadWholeFile(trace); }
};

} // namespace agent3
