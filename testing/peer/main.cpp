// Test peer of the update agent. Command line:
//   Peer.exe [/LOG=file] [/MS=n] agent-command-line
// It opens a hidden window, starts the agent command line with
// " /WM_MSG=<window>:<message>" appended, and appends one line per
// notification to the log ("msg=<m> wParam=<w> lParam=<l>"). After the
// answers 50 (the agent's window) and 51 (its control message) it asks the
// agent for code 4 and logs "reply code=4 result=<r>". It ends after n ms
// (default 30000, or STANDIN_PEER_MS) or when code 43 says the agent's loop
// ended. Without /LOG= the log is STANDIN_PEER_LOG.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

constexpr UINT kPeerMessage = WM_APP + 7;
constexpr UINT_PTR kEndTimer = 1;
constexpr WPARAM kMainWindowCode = 50;
constexpr WPARAM kQueryMessageCode = 51;
constexpr WPARAM kLoopEndedCode = 43;
constexpr WPARAM kReadVersionOriginal = 4;

std::string g_log;
HWND g_agent = nullptr;
UINT g_agentMessage = 0;

std::string Env(const char* name) {
    char buffer[1024] = {};
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

void Log(const std::string& line) {
    if (g_log.empty()) return;
    HANDLE h = CreateFileA(g_log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(h, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(h);
}

// Takes a leading "/NAME=value" word (value up to the next blank) off text.
bool TakeOption(std::string& text, const std::string& name, std::string& value) {
    size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos || text.compare(start, name.size(), name) != 0) return false;
    size_t end = text.find(' ', start);
    value = text.substr(start + name.size(),
                        end == std::string::npos ? std::string::npos : end - start - name.size());
    text = end == std::string::npos ? std::string() : text.substr(end + 1);
    return true;
}

void AskAgent() {
    DWORD_PTR result = 0;
    // A timeout: the agent may be inside a modal box.
    if (SendMessageTimeoutA(g_agent, g_agentMessage, kReadVersionOriginal, 0, SMTO_ABORTIFHUNG,
                            5000, &result))
        Log("reply code=4 result=" + std::to_string(static_cast<int32_t>(result)));
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kPeerMessage) {
        Log("msg=" + std::to_string(message) + " wParam=" + std::to_string(wParam) +
            " lParam=" + std::to_string(static_cast<long long>(lParam)));
        if (wParam == kMainWindowCode) g_agent = reinterpret_cast<HWND>(lParam);
        if (wParam == kQueryMessageCode) {
            g_agentMessage = static_cast<UINT>(lParam);
            if (g_agent) AskAgent();
        }
        if (wParam == kLoopEndedCode) DestroyWindow(window);
        return 0;
    }
    if (message == WM_TIMER && wParam == kEndTimer) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    std::string rest = commandLine ? commandLine : "";
    std::string value;
    g_log = Env("STANDIN_PEER_LOG");
    int lifetimeMs = 30000;
    if (!Env("STANDIN_PEER_MS").empty()) lifetimeMs = std::atoi(Env("STANDIN_PEER_MS").c_str());
    for (bool more = true; more;) {
        more = false;
        if (TakeOption(rest, "/LOG=", value)) g_log = value, more = true;
        if (TakeOption(rest, "/MS=", value)) lifetimeMs = std::atoi(value.c_str()), more = true;
    }

    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = "StandinPeer";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "Peer", WS_OVERLAPPED, 0, 0, 100, 50,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    SetTimer(window, kEndTimer, static_cast<UINT>(lifetimeMs > 0 ? lifetimeMs : 1), nullptr);
    Log("peer window=" + std::to_string(reinterpret_cast<UINT_PTR>(window)));

    if (rest.find_first_not_of(' ') != std::string::npos) {
        std::string cl = rest + " /WM_MSG=" + std::to_string(reinterpret_cast<UINT_PTR>(window)) +
                         ":" + std::to_string(kPeerMessage);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (CreateProcessA(nullptr, &cl[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                           &pi)) {
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        } else {
            Log("start failed " + std::to_string(GetLastError()));
        }
    }

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Log("peer end");
    return 0;
}
