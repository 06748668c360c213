#include "vetter/identity/hwprobe.h"

#include "core/vetter/condition_data.h"

#include <cstring>

namespace vetter {

bool QueryHwProbe(HwSource source, int selector, char* out512) {
    if (!out512) return false;
    char buffer[kOutSize] = {};
    int size = static_cast<int>(sizeof buffer);
    int ok = source == HwSource::Wmi ? WMISystemInfo(selector, buffer, size)
                                     : SMBIOSSystemInfo(selector, buffer, size);
    if (!ok) return false;
    buffer[sizeof buffer - 1] = '\0'; // a library that fills the buffer is cut, not overrun
    CopyCut(out512, kOutSize, buffer);
    return true;
}

} // namespace vetter
