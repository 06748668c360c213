// debugview: shows what programs write to their debug channel. It owns a
// hidden top-level window of class ".KDebug." and answers ".K_DebugMsg."
// (wParam 1, lParam a global atom named after the text) by reading the atom's
// name before the sender deletes it, then writing the text to standard output
// or appending it to a file.
//
//   debugview [--out FILE] [--exit-after-ms N] [--exit-with-pid PID]

#include "stub/util/handles.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char kViewerClass[] = ".KDebug.";
constexpr char kMessageName[] = ".K_DebugMsg.";
constexpr UINT_PTR kExitTimer = 1;
// Global atom names are at most 255 bytes.
constexpr DWORD kAtomNameMax = 256;

struct Options {
    std::string outPath;
    DWORD exitAfterMs = 0; // 0: no time limit
    DWORD exitWithPid = 0; // 0: no process to follow
};

UINT g_debugMessage = 0;
FILE* g_out = nullptr;

void Usage() {
    std::fputs("usage: debugview [--out FILE] [--exit-after-ms N] [--exit-with-pid PID]\n", stderr);
}

bool ParseNumber(const char* text, DWORD& value) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    unsigned long v = std::strtoul(text, &end, 10);
    if (*end != '\0' || errno == ERANGE || v > 0xFFFFFFFFul || text[0] == '-') return false;
    value = static_cast<DWORD>(v);
    return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--out" && value) {
            options.outPath = value;
        } else if (arg == "--exit-after-ms" && ParseNumber(value, options.exitAfterMs)) {
        } else if (arg == "--exit-with-pid" && ParseNumber(value, options.exitWithPid)) {
        } else {
            return false;
        }
        ++i;
    }
    return true;
}

void WriteChunk(ATOM atom) {
    char name[kAtomNameMax] = {};
    UINT length = GlobalGetAtomNameA(atom, name, kAtomNameMax);
    if (length == 0) return; // the sender gave up and deleted it already
    std::fwrite(name, 1, length, g_out);
    std::fflush(g_out); // readers of the file see each chunk as it arrives
}

LRESULT CALLBACK ViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == g_debugMessage && g_debugMessage != 0) {
        if (wParam == 1) WriteChunk(static_cast<ATOM>(lParam));
        return 0;
    }
    switch (message) {
    case WM_TIMER:
        if (wParam == kExitTimer) DestroyWindow(window);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Runs the window's messages until it is destroyed or the followed process ends.
int RunLoop(HWND window, HANDLE followed) {
    for (;;) {
        DWORD count = followed ? 1 : 0;
        DWORD woke = MsgWaitForMultipleObjects(count, followed ? &followed : nullptr, FALSE,
                                               INFINITE, QS_ALLINPUT);
        if (followed && woke == WAIT_OBJECT_0) {
            DestroyWindow(window);
            followed = nullptr;
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        Usage();
        return 2;
    }
    if (options.outPath.empty()) {
        _setmode(_fileno(stdout), _O_BINARY); // chunks carry their own CR LF
        g_out = stdout;
    } else {
        g_out = std::fopen(options.outPath.c_str(), "ab");
        if (!g_out) {
            std::fprintf(stderr, "debugview: cannot open %s\n", options.outPath.c_str());
            return 1;
        }
    }

    win::Handle followed;
    if (options.exitWithPid != 0) {
        followed.reset(OpenProcess(SYNCHRONIZE, FALSE, options.exitWithPid));
        if (!followed) {
            std::fprintf(stderr, "debugview: no process %lu\n",
                         static_cast<unsigned long>(options.exitWithPid));
            return 1;
        }
    }

    g_debugMessage = RegisterWindowMessageA(kMessageName);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ViewerProc;
    wc.hInstance = instance;
    wc.lpszClassName = kViewerClass;
    HWND window = nullptr;
    if (g_debugMessage != 0 && RegisterClassA(&wc)) {
        // Top-level (not message-only), so FindWindow by class finds it.
        window = CreateWindowExA(0, kViewerClass, "debugview", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                 nullptr, instance, nullptr);
    }
    if (!window) {
        std::fputs("debugview: cannot create the viewer window\n", stderr);
        return 1;
    }
    if (options.exitAfterMs != 0) SetTimer(window, kExitTimer, options.exitAfterMs, nullptr);

    int rc = RunLoop(window, followed.get());
    if (g_out != stdout) std::fclose(g_out);
    return rc;
}
