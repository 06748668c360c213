#include "stub/ui/kmsgbox.h"

#include <richedit.h>

#include <gtest/gtest.h>

#include "box_driver.h"
#include "stub/ui/kmsgbox_testing.h"

namespace {

const char kButtons[] = "|&OK|&Cancel|&Yes|&No|&Abort|&Retry|&Ignore|";

// A box whose view is kept for the test and which is answered by `answer`.
struct Shown {
    BoxView view;
    std::string bold;
    int result = -1;
    bool driven = false;
};

Shown Show(MsgOwner owner, const std::string& text, const std::string& caption, uint32_t flags,
           int charset, const std::function<void(const BoxView&)>& answer,
           const std::string& buttons = kButtons, int timeoutMs = 0) {
    Shown s;
    {
        BoxDriver d([&](const BoxView& v) {
            s.view = v;
            if (v.text && v.textClass == "RICHEDIT") s.bold = BoldCharacters(v.text);
            answer(v);
        });
        s.result = ShowMsgBox(owner, text, caption, timeoutMs, flags, charset, buttons);
        s.driven = d.finish();
    }
    return s;
}

void PressEnter(const BoxView& v) {
    PostKey(v, VK_RETURN);
}
void PressEscape(const BoxView& v) {
    PostKey(v, VK_ESCAPE);
}

TEST(KMsgBox, HeadingForOwnerZeroOnly) {
    struct {
        MsgOwner owner;
        std::string caption, title, content, bold;
    } cases[] = {
        {0, "Error", "Error", "ERROR\r\n\r\nDisk full\r\n", "ERROR"},
        {0, "Attention", "Attention", "ATTENTION\r\n\r\nDisk full\r\n", "ATTENTION"},
        {0, "Fehler", "Fehler", "Fehler\r\n\r\nDisk full\r\n", "Fehler"},
        {1, "Error", "Error", "Disk full", ""},
        {2, "Error", "Error", "Disk full", ""},
    };
    for (const auto& c : cases) {
        Shown s = Show(c.owner, "Disk full", c.caption, 0x10, 1, PressEnter);
        ASSERT_TRUE(s.driven) << c.caption;
        EXPECT_EQ(s.view.textClass, "RICHEDIT");
        EXPECT_EQ(s.view.title, c.title) << c.owner;
        EXPECT_EQ(s.view.content, c.content) << c.owner;
        EXPECT_EQ(s.bold, c.bold) << c.owner;
        EXPECT_EQ(s.result, 1);
    }
}

TEST(KMsgBox, ErrorMsgWithEmptyCaptionAndButtons) {
    BoxView seen;
    {
        BoxDriver d([&](const BoxView& v) {
            seen = v;
            PressEnter(v);
        });
        ErrorMsg(0, "One line", "", 1, "");
        ASSERT_TRUE(d.finish());
    }
    EXPECT_EQ(seen.title, "Error");
    EXPECT_EQ(seen.content, "ERROR\r\n\r\nOne line\r\n");
    EXPECT_EQ(seen.captions, std::vector<std::string>{"&OK"});
}

TEST(KMsgBox, ButtonSetsAndResults) {
    struct {
        uint32_t set;
        std::vector<std::string> captions;
        std::vector<int> results;
    } cases[] = {
        {0, {"&OK"}, {1}},
        {1, {"&OK", "&Cancel"}, {1, 2}},
        {2, {"&Abort", "&Retry", "&Ignore"}, {3, 4, 5}},
        {3, {"&Yes", "&No", "&Cancel"}, {6, 7, 2}},
        {4, {"&Yes", "&No"}, {6, 7}},
        {5, {"&Retry", "&Cancel"}, {4, 2}},
    };
    for (const auto& c : cases) {
        for (size_t i = 0; i < c.results.size(); ++i) {
            Shown s =
                Show(1, "Choose", "t", c.set, 1, [i](const BoxView& v) { Click(v.buttons.at(i)); });
            ASSERT_TRUE(s.driven) << c.set << "/" << i;
            EXPECT_EQ(s.view.captions, c.captions) << c.set;
            EXPECT_EQ(s.result, c.results[i]) << c.set << "/" << i;
        }
    }
    Shown none = Show(1, "No buttons", "t", 6, 1, PressEscape);
    ASSERT_TRUE(none.driven);
    EXPECT_TRUE(none.view.buttons.empty());
    EXPECT_EQ(none.result, 0);

    Shown translated = Show(1, "x", "t", 4, 1, PressEnter, "|&Ok|&Abbrechen|&Ja|&Nein|");
    ASSERT_TRUE(translated.driven);
    EXPECT_EQ(translated.view.captions, (std::vector<std::string>{"&Ja", "&Nein"}));
    EXPECT_EQ(translated.result, 6);
}

TEST(KMsgBox, DefaultButtonHasFocusAndAnswersEnter) {
    struct {
        uint32_t flags;
        int focused;
        int enterResult;
    } cases[] = {
        {0x203, 2, 2}, // set 3, default 2: Cancel
        {0x103, 1, 7},
        {0x401, 0, 1}, // index 4 modulo 2 buttons
        {0x004, 0, 6},
    };
    for (const auto& c : cases) {
        Shown s = Show(1, "Default", "t", c.flags, 1, PressEnter);
        ASSERT_TRUE(s.driven) << std::hex << c.flags;
        EXPECT_EQ(s.view.focusIndex, c.focused) << std::hex << c.flags;
        EXPECT_EQ(s.result, c.enterResult) << std::hex << c.flags;
    }
}

TEST(KMsgBox, DefaultButtonStyle) {
    std::vector<LONG> styles;
    Shown s = Show(1, "Default", "t", 0x103, 1, [&](const BoxView& v) {
        for (HWND b : v.buttons)
            styles.push_back(GetWindowLongA(b, GWL_STYLE) & 0x0F);
        PressEscape(v);
    });
    ASSERT_TRUE(s.driven);
    EXPECT_EQ(styles, (std::vector<LONG>{BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_PUSHBUTTON}));
}

TEST(KMsgBox, EscapeClosesWithoutResult) {
    Shown s = Show(1, "Escape", "t", 0x24, 1, PressEscape);
    ASSERT_TRUE(s.driven);
    EXPECT_EQ(s.result, 0);

    bool yes = true;
    {
        BoxDriver d(PressEscape);
        yes = ConfirmYesNo(1, "Escape", "", 0, 1, "");
        ASSERT_TRUE(d.finish());
    }
    EXPECT_FALSE(yes);
}

TEST(KMsgBox, KeyboardChoosesButtons) {
    struct {
        const char* name;
        uint32_t flags;
        std::function<void(const BoxView&)> keys;
        int result;
    } cases[] = {
        {"Alt+n", 3, [](const BoxView& v) { PostAltChar(v, 'n'); }, 7},
        {"Alt+C", 3, [](const BoxView& v) { PostAltChar(v, 'C'); }, 2},
        {"letter R", 2, [](const BoxView& v) { PostKey(v, 'R'); }, 4},
        {"letter Y", 4, [](const BoxView& v) { PostKey(v, 'Y'); }, 6},
        {"Right, Enter", 3,
         [](const BoxView& v) {
             PostKey(v, VK_RIGHT);
             PostKey(v, VK_RETURN);
         },
         7},
        {"Left wraps", 3,
         [](const BoxView& v) {
             PostKey(v, VK_LEFT);
             PostKey(v, VK_RETURN);
         },
         2},
        {"Tab twice, Up", 2,
         [](const BoxView& v) {
             PostKey(v, VK_TAB);
             PostKey(v, VK_TAB);
             PostKey(v, VK_UP);
             PostKey(v, VK_RETURN);
         },
         4},
    };
    for (const auto& c : cases) {
        Shown s = Show(1, "Keys", "t", c.flags, 1, c.keys);
        ASSERT_TRUE(s.driven) << c.name;
        EXPECT_EQ(s.result, c.result) << c.name;
    }
}

TEST(KMsgBox, NumericPadAndFunctionKeysChooseNothing) {
    // Numeric-pad 3 has code 0x63 ('c'), F3 0x72 ('r'); neither is a letter key.
    Shown s = Show(1, "Keys", "t", 5, 1, [](const BoxView& v) {
        PostKey(v, VK_NUMPAD3);
        PostKey(v, VK_F3);
        PostKey(v, VK_ESCAPE);
    });
    ASSERT_TRUE(s.driven);
    EXPECT_EQ(s.result, 0);
}

TEST(KMsgBox, TimeoutChoosesLeftmostButton) {
    struct {
        uint32_t flags;
        int result;
    } cases[] = {{0x24, 6}, {0x205, 4}, {0x102, 3}};
    for (const auto& c : cases) {
        DWORD start = GetTickCount();
        Shown s = Show(
            1, "Wait", "t", c.flags, 1, [](const BoxView&) {}, kButtons, 300);
        DWORD elapsed = GetTickCount() - start;
        ASSERT_TRUE(s.driven);
        EXPECT_EQ(s.result, c.result);
        EXPECT_GE(elapsed, 300u);
        EXPECT_LT(elapsed, 5000u);
    }
    bool yes = false;
    {
        BoxDriver d([](const BoxView&) {});
        yes = ConfirmYesNo(1, "Nobody answers", "", 400, 1, "");
        ASSERT_TRUE(d.finish());
    }
    EXPECT_TRUE(yes);
}

TEST(KMsgBox, BoldSpans) {
    struct {
        std::string text, content, bold;
    } cases[] = {
        {"Insert <b>disk 2</b> now", "Insert disk 2 now", "disk 2"},
        {"a<P><B>bold</B> plain<p>b<b>c</b>", "a\r\nbold plain\r\nbc", "boldc"},
        {"open <B>without close", "open without close", ""},
        {"</B>x<B>y", "xy", ""},
    };
    for (const auto& c : cases) {
        Shown s = Show(1, c.text, "t", 0, 1, PressEnter);
        ASSERT_TRUE(s.driven) << c.text;
        EXPECT_EQ(s.view.content, c.content);
        EXPECT_EQ(s.bold, c.bold) << c.text;
    }
}

TEST(KMsgBox, RightToLeftForHebrewAndArabic) {
    struct {
        int charset;
        bool rtl;
    } cases[] = {{1, false}, {177, true}, {178, true}, {0, false}};
    for (const auto& c : cases) {
        LONG style = 0, exStyle = 0;
        WORD alignment = 0;
        Shown s = Show(1, "Text", "t", 0, c.charset, [&](const BoxView& v) {
            style = GetWindowLongA(v.text, GWL_STYLE);
            exStyle = GetWindowLongA(v.text, GWL_EXSTYLE);
            PARAFORMAT pf = {};
            pf.cbSize = sizeof pf;
            SendMessageA(v.text, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
            alignment = pf.wAlignment;
            PressEnter(v);
        });
        ASSERT_TRUE(s.driven) << c.charset;
        EXPECT_EQ((style & ES_RIGHT) != 0, c.rtl) << c.charset;
        EXPECT_EQ((exStyle & WS_EX_RTLREADING) != 0, c.rtl) << c.charset;
        EXPECT_EQ(alignment == PFA_RIGHT, c.rtl) << c.charset;
    }
}

TEST(KMsgBox, AnswersAutoPlayQueryOnceEnabled) {
    const UINT registered = RegisterWindowMessageA("QueryCancelAutoPlay");
    SetAutoPlayCancel(false);
    EXPECT_EQ(AutoPlayCancelMsg(), 0u);
    LRESULT answer = -1;
    Shown off = Show(1, "AutoPlay", "t", 0, 1, [&](const BoxView& v) {
        answer = SendMessageA(v.box, registered, 0, 0);
        PressEnter(v);
    });
    ASSERT_TRUE(off.driven);
    EXPECT_EQ(answer, 0);

    SetAutoPlayCancel(true);
    EXPECT_EQ(AutoPlayCancelMsg(), registered);
    Shown on = Show(1, "AutoPlay", "t", 0, 1, [&](const BoxView& v) {
        answer = SendMessageA(v.box, registered, 0, 0);
        PressEnter(v);
    });
    SetAutoPlayCancel(false);
    ASSERT_TRUE(on.driven);
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(on.result, 1);
}

TEST(KMsgBox, OwnerTwoDisablesClose) {
    struct {
        MsgOwner owner;
        bool grey;
    } cases[] = {{1, false}, {2, true}};
    for (const auto& c : cases) {
        UINT state = 0;
        bool survivedClose = false;
        Shown s = Show(c.owner, "Close", "t", 0, 1, [&](const BoxView& v) {
            state = GetMenuState(GetSystemMenu(v.box, FALSE), SC_CLOSE, MF_BYCOMMAND);
            SendMessageA(v.box, WM_SYSCOMMAND, SC_CLOSE, 0);
            survivedClose = IsWindow(v.box) != 0;
            if (survivedClose) PressEscape(v);
        });
        ASSERT_TRUE(s.driven);
        EXPECT_EQ((state & MF_GRAYED) != 0, c.grey) << c.owner;
        EXPECT_EQ(survivedClose, c.grey) << c.owner;
        EXPECT_EQ(s.result, 0);
    }
}

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefWindowProcA(h, m, w, l);
}

HWND MakeActiveWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KMsgBoxTestOwner";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, "KMsgBoxTestOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                             200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    SetActiveWindow(w);
    return w;
}

TEST(KMsgBox, ActiveWindowIsOwnedAndDisabledWhileOpen) {
    HWND main = MakeActiveWindow();
    ASSERT_TRUE(main);
    ASSERT_EQ(GetActiveWindow(), main);
    HWND owner = nullptr;
    bool enabledWhileOpen = true;
    Shown s = Show(1, "Modal", "t", 0, 1, [&](const BoxView& v) {
        owner = GetWindow(v.box, GW_OWNER);
        enabledWhileOpen = IsWindowEnabled(main) != 0;
        PressEnter(v);
    });
    ASSERT_TRUE(s.driven);
    EXPECT_EQ(owner, main);
    EXPECT_FALSE(enabledWhileOpen);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(GetActiveWindow(), main);

    // A window given as owner is the owner itself.
    Shown given = Show(OwnerWindow(main), "Owned", "t", 0, 1, [&](const BoxView& v) {
        owner = GetWindow(v.box, GW_OWNER);
        PressEnter(v);
    });
    ASSERT_TRUE(given.driven);
    EXPECT_EQ(owner, main);
    DestroyWindow(main);
}

TEST(KMsgBox, WorksWithoutRichEdit) {
    SetMsgBoxPlainTextForTesting(true);
    Shown s = Show(0, "Plain <b>text</b><P>second", "Error", 0x11, 1,
                   [](const BoxView& v) { PostKey(v, 'C'); });
    SetMsgBoxPlainTextForTesting(false);
    ASSERT_TRUE(s.driven);
    EXPECT_EQ(s.view.textClass, "Edit");
    EXPECT_EQ(s.view.content, "ERROR\r\n\r\nPlain text\r\nsecond\r\n");
    EXPECT_EQ(s.view.captions, (std::vector<std::string>{"&OK", "&Cancel"}));
    EXPECT_EQ(s.result, 2);
    EXPECT_GT(s.view.textRect.right - s.view.textRect.left, 10);
    EXPECT_GT(s.view.textRect.bottom - s.view.textRect.top, 10);
}

TEST(KMsgBox, Geometry) {
    struct {
        std::string text;
        bool bold;
    } cases[] = {
        {"Short", false},
        {std::string(400, 'W'), false}, // far beyond 600 pixels
        {"Line one<P>Line two<P><B>Bold line three</B>", true},
    };
    for (const auto& c : cases) {
        Shown s = Show(1, c.text, "t", 3, 1, PressEscape);
        ASSERT_TRUE(s.driven);
        const BoxView& v = s.view;
        int cw = v.client.right, ch = v.client.bottom;
        int tw = v.textRect.right - v.textRect.left;
        EXPECT_GE(v.boxRect.right - v.boxRect.left, 360);
        if (!c.bold) {
            EXPECT_LE(tw, 610) << c.text.size();
        }
        EXPECT_EQ(v.textRect.left, 54 + (cw - 54 - tw) / 2);
        EXPECT_EQ(v.textRect.bottom, ch - 39);
        ASSERT_EQ(v.buttonRects.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            const RECT& r = v.buttonRects[static_cast<size_t>(i)];
            EXPECT_EQ(r.left, cw - 220 + 70 * i);
            EXPECT_EQ(r.top, ch - 29);
            EXPECT_EQ(r.right - r.left, 70);
            EXPECT_EQ(r.bottom - r.top, 23);
        }
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        int bw = v.boxRect.right - v.boxRect.left;
        EXPECT_EQ(v.boxRect.left, work.left + (work.right - work.left - bw) / 2);
    }
}

TEST(KMsgBox, FontFollowsSetMsgBoxFont) {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    struct {
        std::string face;
        int size, charset;
        std::string wantFace;
        int wantPoints;
    } cases[] = {{"Courier New", 12, 1, "Courier New", 12},
                 {"Arial", 0, 0, "Arial", 12}, // size 0 keeps 12
                 {"Tahoma", 8, 1, "Tahoma", 8}};
    for (const auto& c : cases) {
        SetMsgBoxFont(c.face, c.size, c.charset);
        LOGFONTA lf = {};
        Shown s = Show(1, "Font", "t", 0, 1, [&](const BoxView& v) {
            HFONT f = reinterpret_cast<HFONT>(SendMessageA(v.buttons.at(0), WM_GETFONT, 0, 0));
            GetObjectA(f, sizeof lf, &lf);
            PressEnter(v);
        });
        ASSERT_TRUE(s.driven);
        EXPECT_STREQ(lf.lfFaceName, c.wantFace.c_str());
        EXPECT_EQ(lf.lfHeight, -MulDiv(c.wantPoints, dpi, 72));
        EXPECT_EQ(lf.lfCharSet, c.charset);
    }
}

TEST(KMsgBox, QuitRequestClosesTheBoxAndIsKept) {
    DWORD tid = GetCurrentThreadId();
    Shown s = Show(1, "Quit", "t", 4, 1,
                   [tid](const BoxView&) { PostThreadMessageA(tid, WM_QUIT, 7, 0); });
    ASSERT_TRUE(s.driven);
    EXPECT_EQ(s.result, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

} // namespace
