#include "stub/net/bytesrate.h"

#include <windows.h>

namespace net {

uint32_t SystemTick() {
    return GetTickCount();
}

} // namespace net
