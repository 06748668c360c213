// msgbox_shots OUTDIR [SCENE...]: shows each scene's message box, captures it
// from the screen into OUTDIR\SCENE.bmp and closes it. The exit code is the
// number of scenes that could not be captured.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "stub/ui/kmsgbox.h"
#include "stub/util/handles.h"

namespace {

struct Scene {
    const char* name;
    std::function<void()> show;
};

const char kHebrewCaption[] = "\xF9\xE2\xE9\xE0\xE4";
const char kHebrewText[] = "\xEC\xE0 \xF0\xE9\xFA\xEF \xEC\xE9\xF6\xE5\xF8 \xE0\xFA "
                           "\xE4\xFA\xE9\xF7\xE9\xE9\xE4!<P><P>C:\\Temp\\SETUP_1<P>"
                           "\xE4\xF7\xE5\xE1\xF5 \xF0\xF9\xEE\xF8 \xE1\xFA\xE9\xF7\xE9\xE9\xE4 "
                           "\xE4\xE6\xEE\xF0\xE9\xFA.";
const char kHebrewButtons[] = "|&\xE0\xE9\xF9\xE5\xF8|&\xE1\xE9\xE8\xE5\xEC|&\xEB\xEF|&\xEC\xE0|"
                              "&\xE1\xE8\xEC|&\xF0\xF1\xE4 \xF9\xE5\xE1|&\xE4\xFA\xF2\xEC\xED|";

std::vector<Scene> Scenes() {
    return {
        {"error",
         [] {
             ErrorMsg(0,
                      "C:\\Program Files\\Kolvane\\Tarnix\\Setup<P><P>Unable to create "
                      "Directory!<P><P>Access is denied.",
                      "", 1, "");
         }},
        {"warning",
         [] {
             WarningMsg(1,
                        "The update server could not be reached.<P>The next check follows "
                        "in 24 hours.",
                        "Attention", 0, 1, "");
         }},
        {"question",
         [] {
             ConfirmYesNo(0,
                          "A newer version of <B>Tarnix Support Package</B> is available."
                          "<P>Do you want to download and install it now?",
                          "Confirm", 0, 1, "");
         }},
        {"disk",
         [] {
             ConfirmOkCancel(1,
                             "Please insert <B>Disk 2</B> of the setup set<P>and press "
                             "<B>OK</B> to continue.",
                             "Attention", 1, "");
         }},
        {"hebrew",
         [] {
             SetMsgBoxFont("Tahoma", 8, 177);
             ErrorMsg(0, kHebrewText, kHebrewCaption, 177, kHebrewButtons);
             SetMsgBoxFont("Tahoma", 8, 1);
         }},
    };
}

void Put16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, unsigned long v) {
    Put16(out, static_cast<unsigned>(v & 0xFFFF));
    Put16(out, static_cast<unsigned>(v >> 16));
}

// The window as it stands on the screen, frame included, as a 32-bit BMP.
bool Capture(HWND hwnd, const std::string& path) {
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

// Shows one scene; a helper thread captures the box once it has been drawn.
bool Shoot(const Scene& scene, const std::string& outDir) {
    bool captured = false;
    std::thread helper([&] {
        HWND box = nullptr;
        for (int i = 0; i < 1000 && !box; ++i) {
            box = FindWindowA("KMsgBox", nullptr);
            if (!box) Sleep(10);
        }
        if (!box) return;
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(box, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
        RedrawWindow(box, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Sleep(700); // let the X server show what was drawn
        captured = Capture(box, outDir + "\\" + scene.name + ".bmp");
        PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    scene.show();
    helper.join();
    return captured;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 2) return 100;
    std::string outDir = __argv[1];
    std::vector<std::string> wanted(__argv + 2, __argv + __argc);
    int failures = 0;
    for (const Scene& scene : Scenes()) {
        bool chosen = wanted.empty();
        for (const std::string& w : wanted)
            chosen = chosen || w == scene.name;
        if (!chosen) continue;
        if (!Shoot(scene, outDir)) {
            std::fprintf(stderr, "msgbox_shots: %s not captured\n", scene.name);
            ++failures;
        }
    }
    return failures;
}
