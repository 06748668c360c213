#pragma once
// The maker's hardware-information library, linked by import (HwProbe.def).
extern "C" {
// selector 0 model name, 1 system-board identifier, 2 chassis identifier;
// non-zero with a NUL-terminated text in buffer on success.
int WMISystemInfo(int selector, char* buffer, int size);
// selector 1 system-board identifier, 2 chassis identifier.
int SMBIOSSystemInfo(int selector, char* buffer, int size);
}

namespace vetter {

enum class HwSource { Wmi, Smbios };
// Asks the library with a zero-filled 512-byte buffer; false when it fails.
bool QueryHwProbe(HwSource source, int selector, char* out512);

} // namespace vetter
