// Product stand-in: a visible window titled after its command line that
// appends "start" and "end" lines to the file named by STANDIN_PRODUCT_RECORD;
// with STANDIN_PRODUCT_IGNORE_CLOSE=1 it ignores WM_CLOSE.
#include <windows.h>

#include <string>

namespace {

std::string Env(const char* name) {
    char buffer[1024] = {};
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

void Record(const std::string& line) {
    const std::string file = Env("STANDIN_PRODUCT_RECORD");
    if (file.empty()) return;
    HANDLE h = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(h, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(h);
}

bool g_ignoreClose = false;

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE && g_ignoreClose) return 0;
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    g_ignoreClose = Env("STANDIN_PRODUCT_IGNORE_CLOSE") == "1";
    Record("start");
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.lpszClassName = "StandinProduct";
    RegisterClassA(&wc);
    CreateWindowExA(0, wc.lpszClassName, commandLine && *commandLine ? commandLine : "Product",
                    WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, instance,
                    nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Record("end");
    return 0;
}
