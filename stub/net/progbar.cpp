#include "stub/net/progbar.h"

#include "stub/util/utils.h"

TProgBar::~TProgBar() {
    Finish(0, 0);
}

void TProgBar::Call(int32_t kind, int32_t maximum, int32_t position, int32_t step,
                    const std::string& text) {
    if (ProgressHandler) ProgressHandler(kind, 0, maximum, position, step, text);
}

void TProgBar::Init(int32_t position, int32_t count) {
    WaitPumping(0, 0);
    Call(kProgressStart, count, position, 1, std::string());
    WaitPumping(0, 0);
}

void TProgBar::Step(const std::string& text) {
    WaitPumping(0, 0);
    Call(kProgressStep, 0, 0, 0, text);
    WaitPumping(0, 0);
}

void TProgBar::Finish(int pauseBeforeMs, int pauseAfterMs) {
    WaitPumping(0, 0);
    WaitPumping(0, pauseBeforeMs);
    Call(kProgressStart, 0, 0, 1, std::string());
    WaitPumping(0, pauseAfterMs);
    WaitPumping(0, 0);
}

void TProgBar::Caption(const std::string&) {
    WaitPumping(0, 0);
}
