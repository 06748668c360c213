#pragma once
// The stub's message pump, kept for the progress bar and the extraction until
// the shared utilities offer WaitPumping: dispatch everything pending, sleep.
#include "core/util/numbers.h"

#include <windows.h>

#include <cstdint>

namespace localpump {

inline uint64_t TickMs() {
    static const double factor = [] {
        LARGE_INTEGER f;
        return QueryPerformanceFrequency(&f) && f.QuadPart ? 1000.0 / double(f.QuadPart) : 0.0;
    }();
    LARGE_INTEGER c;
    if (factor == 0.0 || !QueryPerformanceCounter(&c)) return GetTickCount();
    return uint64_t(double(c.QuadPart) * factor);
}

// Removes and dispatches every pending message of the thread.
inline void DispatchPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

inline void WaitPumping(int step, int ms) {
    step = WaitPumpingStep(step, ms);
    uint64_t end = TickMs() + uint64_t(ms < 0 ? 0 : ms);
    do {
        DispatchPending();
        Sleep(DWORD(step));
    } while (TickMs() < end);
}

} // namespace localpump
