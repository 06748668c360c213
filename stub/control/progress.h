#pragma once
// The progress relay that drives the main window's two bars, the process's
// single TProgBar, and the notifications to a registered peer window.
#include "stub/net/progbar.h"

#include <windows.h>

#include <cstdint>
#include <string>

// The activity bar's fixed range: 0..kActivityMax.
constexpr int kActivityMax = 5;

// The main window hands over its bars when it creates them (null = none).
void SetProgressBars(HWND mainBar, HWND activityBar);
// kind 0: main bar range 0..maximum (reserved as the range message's first
// parameter), position, step; activity bar 0..5 at 0. kind 1: main bar steps,
// activity bar moves to the next of 1, 2, 3, 4, 5, 0. Other kinds do nothing.
void ProgressRelay(int32_t kind, int32_t reserved, int32_t maximum, int32_t position, int32_t step,
                   const std::string& text);
// Position of the activity bar as last set.
int ActivityCounter();

// The single TProgBar with ProgressRelay as its handler, created on first call.
TProgBar& ProgBar();

// Set by the registration control message; a zero window or number disables.
void SetRelayPeer(HWND peer, UINT message);
// Posts (code, value) to the peer window; never waits. Codes below.
void RelayMessage(WPARAM code, LPARAM value);

namespace relay {
constexpr WPARAM kDescriptorDownload = 40;
constexpr WPARAM kFileDownload = 41;
constexpr WPARAM kUpdateRun = 42;
constexpr WPARAM kLoopEnded = 43;
constexpr WPARAM kMainWindow = 50;
constexpr WPARAM kQueryMessage = 51;
constexpr LPARAM kBefore = 1;
constexpr LPARAM kAfter = 2;
} // namespace relay
