// CheckBitLocker: the encryptable volumes of the BitLocker WMI provider with
// their conversion status and encryption method, on standard output.
#include "vetter/api/com_ptr.h"
#include "vetter/api/exports.h"
#include "vetter/api/guard.h"
#include "vetter/environment/bitlocker_listing.h"
#include "vetter/environment/wmi_session.h"

#include <cstdio>

namespace vetter {

namespace {

const WmiMessages kEncryptionMessages = {
    "Failed to initialize COM library. Error code = 0x",
    "Failed to initialize security. Error code = 0x",
    "Failed tocreate IWbemLocator object. Err code = 0x",
    "CIMV2: Could not connect. Error code = 0x",
    "Could not set proxy blanket. Error code = 0x",
};

class Bstr {
  public:
    explicit Bstr(const wchar_t* text) : b_(SysAllocString(text)) {}
    ~Bstr() { SysFreeString(b_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const { return b_; }

  private:
    BSTR b_;
};

// The provider reached through an open WMI session.
class WmiEncryptableVolumes : public EncryptableVolumes {
  public:
    explicit WmiEncryptableVolumes(IWbemServices* services) : services_(services) {}

    long Query() override {
        Bstr language(L"WQL"), query(L"SELECT * FROM Win32_EncryptableVolume");
        return services_->ExecQuery(language.get(), query.get(),
                                    WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                    volumes_.receive());
    }

    bool Next(std::wstring* deviceId) override {
        if (!volumes_) return false;
        ComPtr<IWbemClassObject> volume;
        ULONG got = 0;
        if (volumes_->Next(WBEM_INFINITE, 1, volume.receive(), &got) != S_OK || !got) return false;
        VARIANT value;
        VariantInit(&value);
        deviceId->clear();
        if (SUCCEEDED(volume->Get(L"DeviceID", 0, &value, nullptr, nullptr)) &&
            value.vt == VT_BSTR && value.bstrVal)
            deviceId->assign(value.bstrVal, SysStringLen(value.bstrVal));
        VariantClear(&value);
        return true;
    }

    long ExecMethod(const std::wstring& path, const wchar_t* method) override {
        Bstr object(path.c_str()), name(method);
        return services_->ExecMethod(object.get(), name.get(), 0, nullptr, nullptr,
                                     output_.receive(), nullptr);
    }

    long ReadOutput(const wchar_t* name, uint32_t* value) override {
        if (!output_) return WBEM_E_NOT_FOUND;
        VARIANT v;
        VariantInit(&v);
        HRESULT hr = output_->Get(name, 0, &v, nullptr, nullptr);
        if (SUCCEEDED(hr)) {
            if (SUCCEEDED(VariantChangeType(&v, &v, 0, VT_UI4)))
                *value = v.ulVal;
            else
                hr = DISP_E_TYPEMISMATCH;
        }
        VariantClear(&v);
        return hr;
    }

  private:
    IWbemServices* services_;
    ComPtr<IEnumWbemClassObject> volumes_;
    ComPtr<IWbemClassObject> output_;
};

int CheckBitLockerVolumes() {
    WmiSession wmi;
    if (!wmi.Open(L"ROOT\\CIMV2\\Security\\MicrosoftVolumeEncryption", kEncryptionMessages))
        return kBitLockerFailed;
    int result;
    {
        WmiEncryptableVolumes volumes(wmi.services());
        result = ListEncryptableVolumes(volumes, stdout);
    }
    wmi.Close();
    return result;
}

} // namespace

} // namespace vetter

int CheckBitLocker() {
    return vetter::Guarded(int(vetter::kBitLockerFailed),
                           [] { return vetter::CheckBitLockerVolumes(); });
}
