#include "vetter/environment/bitlocker_listing.h"

namespace vetter {

namespace {

const char kCallFailed[] = "Query for processes failed. Error code = 0x";

void PrintFailure(std::FILE* out, long hr) {
    std::fprintf(out, "%s%lx\n", kCallFailed, static_cast<unsigned long>(hr));
    std::fflush(out);
}

bool Failed(long hr) {
    return hr < 0;
}

} // namespace

const char* ConversionStatusText(uint32_t value) {
    static const char* const kTexts[] = {"FULLY DECRYPTED",        "FULLY ENCRYPTED",
                                         "ENCRYPTION IN PROGRESS", "DECRYPTION IN PROGRESS",
                                         "ENCRYPTION PAUSED",      "DECRYPTION PAUSED"};
    return value < 6 ? kTexts[value] : "unknown";
}

const char* EncryptionMethodText(uint32_t value) {
    static const char* const kTexts[] = {"NONE", "AES 128 WITH DIFFUSER", "AES 256 WITH DIFFUSER",
                                         "AES 128", "AES 256"};
    return value < 5 ? kTexts[value] : "unknown";
}

std::wstring EncryptableVolumePath(const std::wstring& deviceId) {
    std::wstring rest = deviceId.size() > 4 ? deviceId.substr(4) : std::wstring();
    return L"Win32_EncryptableVolume.DeviceID='\\\\?\\" + rest + L"'";
}

int ListEncryptableVolumes(EncryptableVolumes& wmi, std::FILE* out) {
    long hr = wmi.Query();
    if (Failed(hr)) {
        PrintFailure(out, hr);
        return kBitLockerFailed;
    }
    std::wstring deviceId;
    while (wmi.Next(&deviceId)) {
        std::fprintf(out, "\nVolume: %ls\n", deviceId.c_str());
        std::wstring path = EncryptableVolumePath(deviceId);

        hr = wmi.ExecMethod(path, L"GetConversionStatus");
        if (Failed(hr)) {
            PrintFailure(out, hr);
            return kBitLockerFailed;
        }
        // A value that cannot be read is reported as unknown.
        uint32_t status = 0xFFFFFFFFu;
        hr = wmi.ReadOutput(L"ConversionStatus", &status);
        if (hr == kVolumeLocked) {
            std::fprintf(out, "Volume is locked");
        } else {
            if (Failed(hr)) status = 0xFFFFFFFFu;
            std::fprintf(out, "ConversionStatus:\t%s", ConversionStatusText(status));
        }
        std::fprintf(out, "\n");

        hr = wmi.ExecMethod(path, L"GetEncryptionMethod");
        if (Failed(hr)) {
            PrintFailure(out, hr);
            return kBitLockerFailed;
        }
        uint32_t method = 0xFFFFFFFFu;
        if (Failed(wmi.ReadOutput(L"EncryptionMethod", &method))) method = 0xFFFFFFFFu;
        std::fprintf(out, "EncryptionMethod:\t%s\n", EncryptionMethodText(method));
        std::fflush(out);
    }
    std::fflush(out);
    return kBitLockerListed;
}

} // namespace vetter
