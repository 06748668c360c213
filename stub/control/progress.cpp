#include "stub/control/progress.h"

#include <commctrl.h>

#include <memory>

namespace {

HWND g_mainBar = nullptr;
HWND g_activityBar = nullptr;
int g_activity = 0;
HWND g_peer = nullptr;
UINT g_peerMessage = 0;

} // namespace

void SetProgressBars(HWND mainBar, HWND activityBar) {
    g_mainBar = mainBar;
    g_activityBar = activityBar;
}

void ProgressRelay(int32_t kind, int32_t reserved, int32_t maximum, int32_t position, int32_t step,
                   const std::string&) {
    if (kind == kProgressStart) {
        SendMessageA(g_mainBar, PBM_SETRANGE, WPARAM(reserved), MAKELPARAM(0, maximum));
        SendMessageA(g_mainBar, PBM_SETPOS, WPARAM(position), 0);
        SendMessageA(g_mainBar, PBM_SETSTEP, WPARAM(step), 0);
        SendMessageA(g_activityBar, PBM_SETRANGE, 0, MAKELPARAM(0, kActivityMax));
        SendMessageA(g_activityBar, PBM_SETPOS, 0, 0);
        SendMessageA(g_activityBar, PBM_SETSTEP, 1, 0);
    } else if (kind == kProgressStep) {
        SendMessageA(g_mainBar, PBM_STEPIT, 0, 0);
        if (++g_activity > kActivityMax) g_activity = 0;
        SendMessageA(g_activityBar, PBM_SETPOS, WPARAM(g_activity), 0);
    }
}

int ActivityCounter() {
    return g_activity;
}

TProgBar& ProgBar() {
    // Lives to the end of the process, as the relay's bars may be driven late.
    static TProgBar* bar = new TProgBar(ProgressRelay);
    return *bar;
}

void SetRelayPeer(HWND peer, UINT message) {
    g_peer = peer;
    g_peerMessage = message;
}

void RelayMessage(WPARAM code, LPARAM value) {
    if (g_peer && g_peerMessage) PostMessageA(g_peer, g_peerMessage, code, value);
}
