#pragma once
// Test programs run side by side in one Wine prefix, and several of them make
// ".KDebug." windows of their own. The channel talks to the first such window
// of the sender's desktop, so these tests, their threads and the programs they
// start use a desktop of their own.
#include <string>

// "stubtest_debug_<pid>", created on first use; empty when that failed.
const std::string& PrivateDesktopName();
// Moves the calling thread (with no windows yet) onto that desktop.
bool UsePrivateDesktop();
