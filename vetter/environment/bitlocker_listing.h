#pragma once
// The drive-encryption listing over the few WMI calls it makes, so a fake
// session can stand in for the encryption provider Wine lacks.
#include <cstdint>
#include <cstdio>
#include <string>

namespace vetter {

constexpr int kBitLockerListed = 48;
constexpr int kBitLockerFailed = 0;
// What reading ConversionStatus answers for a locked volume.
constexpr long kVolumeLocked = static_cast<long>(0x80310000u);

class EncryptableVolumes {
  public:
    virtual ~EncryptableVolumes() = default;
    // "SELECT * FROM Win32_EncryptableVolume"; the HRESULT.
    virtual long Query() = 0;
    // The next volume's DeviceID; false after the last.
    virtual bool Next(std::wstring* deviceId) = 0;
    // A method without input parameters on an object path; the HRESULT.
    virtual long ExecMethod(const std::wstring& path, const wchar_t* method) = 0;
    // An integer of the last method's output parameters; the HRESULT of the read.
    virtual long ReadOutput(const wchar_t* name, uint32_t* value) = 0;
};

const char* ConversionStatusText(uint32_t value);
const char* EncryptionMethodText(uint32_t value);
// "Win32_EncryptableVolume.DeviceID='\\?\" + the DeviceID after its first
// four characters + "'".
std::wstring EncryptableVolumePath(const std::wstring& deviceId);

// Lists every volume on `out`: 48 at the end, 0 after a failed query or call.
int ListEncryptableVolumes(EncryptableVolumes& wmi, std::FILE* out);

} // namespace vetter
