#include "tools/screenshots/capture.h"

#include "stub/util/handles.h"

#include <thread>

namespace shots {
namespace {

void Put16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, unsigned long v) {
    Put16(out, static_cast<unsigned>(v & 0xFFFF));
    Put16(out, static_cast<unsigned>(v >> 16));
}

} // namespace

bool CaptureWindow(HWND hwnd, const std::string& path) {
    RECT r;
    if (!GetWindowRect(hwnd, &r)) return false;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    HDC screen = GetDC(nullptr);
    if (!screen) return false;
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h; // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win::GdiObject dib(CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    bool ok = false;
    if (mem && dib && bits) {
        HGDIOBJ old = SelectObject(mem, dib.get());
        ok = BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY | CAPTUREBLT) != 0;
        GdiFlush();
        SelectObject(mem, old);
    }
    if (mem) DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    if (!ok) return false;

    const unsigned long pixels = static_cast<unsigned long>(w) * static_cast<unsigned long>(h) * 4;
    std::string out = "BM";
    Put32(out, 14 + 40 + pixels);
    Put32(out, 0);
    Put32(out, 14 + 40);
    Put32(out, 40);
    Put32(out, static_cast<unsigned long>(w));
    Put32(out, static_cast<unsigned long>(-h)); // two's complement: top-down
    Put16(out, 1);
    Put16(out, 32);
    for (int i = 0; i < 6; ++i)
        Put32(out, 0);
    out.append(static_cast<const char*>(bits), pixels);
    win::File f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return f && WriteFile(f.get(), out.data(), static_cast<DWORD>(out.size()), &written, nullptr) &&
           written == out.size();
}

bool ShootModal(const char* windowClass, const std::string& path, const std::function<void()>& show,
                const std::function<void(HWND)>& close) {
    bool captured = false;
    std::thread helper([&] {
        HWND window = nullptr;
        for (int i = 0; i < 1000 && !window; ++i) {
            window = FindWindowA(windowClass, nullptr);
            if (!window) Sleep(10);
        }
        if (!window) return;
        // Returns once the window's thread is back in its message loop.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Sleep(kSettleMs);
        captured = CaptureWindow(window, path);
        close(window);
    });
    show();
    helper.join();
    return captured;
}

} // namespace shots
