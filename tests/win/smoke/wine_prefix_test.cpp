#include "tests/support/wine_test_support.h"

#include <gtest/gtest.h>
#include <windows.h>

// The harness promises a headless prefix where windows and timers work.
TEST(WinePrefix, WindowAndTimerRunWithoutDisplay) {
    HWND w = CreateWindowExA(0, "STATIC", "probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
    UINT_PTR t = SetTimer(w, 1, 50, nullptr);
    ASSERT_NE(t, 0u);
    MSG m;
    bool ticked = false;
    DWORD until = GetTickCount() + 5000;
    while (!ticked && GetTickCount() < until) {
        if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_TIMER) ticked = true;
            DispatchMessageA(&m);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
    }
    KillTimer(w, 1);
    DestroyWindow(w);
    EXPECT_TRUE(ticked);
}

TEST(WinePrefix, AppVersionSettingIsWritten) {
    ASSERT_TRUE(testsupport::SetWineAppVersion("probe_version.exe", "win8"));
    HKEY h;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\probe_version.exe", 0,
                            KEY_READ, &h),
              ERROR_SUCCESS);
    char buf[32] = {};
    DWORD n = sizeof buf - 1;
    EXPECT_EQ(RegQueryValueExA(h, "Version", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &n),
              ERROR_SUCCESS);
    RegCloseKey(h);
    EXPECT_STREQ(buf, "win8");
    EXPECT_TRUE(testsupport::SetWineAppVersion("probe_version.exe", ""));
}
