#pragma once
// Unit CommUtils, rate part, on the system clock: net::TBytesRate rate(kb, mb, net::SystemTick).
#include "core/net/bytesrate.h"

namespace net {

// GetTickCount: milliseconds since system start.
uint32_t SystemTick();

} // namespace net
