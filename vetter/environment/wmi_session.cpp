#include "vetter/environment/wmi_session.h"

#include <cstdio>

namespace vetter {

const WmiMessages kWmiVersionMessages = {
    "Failed to initialize COM library. Error code = 0x",
    "Failed to initialize security. Error code = 0x",
    "Failed to create IWbemLocator object. Err code = 0x",
    "CIMV2: Could not connect. Error code = 0x",
    "Could not set proxy blanket. Error code = 0x",
};

void PrintHresult(const char* text, HRESULT hr) {
    std::printf("%s%lx\n", text, static_cast<unsigned long>(hr));
    std::fflush(stdout);
}

WmiSession::~WmiSession() {
    Close();
}

void WmiSession::Close() {
    if (services_) services_->Release();
    services_ = nullptr;
    if (locator_) locator_->Release();
    locator_ = nullptr;
    if (comInitialised_) CoUninitialize();
    comInitialised_ = false;
}

bool WmiSession::Open(const wchar_t* ns, const WmiMessages& m) {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(hr)) {
        PrintHresult(m.com, hr);
        return false;
    }
    comInitialised_ = true;
    // Fails where security was set before (by the engine or an earlier call):
    // then WMI is not used, and the registry decides alone.
    hr = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                              RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    if (FAILED(hr)) {
        PrintHresult(m.security, hr);
        Close();
        return false;
    }
    hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                          reinterpret_cast<void**>(&locator_));
    if (FAILED(hr)) {
        locator_ = nullptr;
        PrintHresult(m.locator, hr);
        Close();
        return false;
    }
    BSTR nsName = SysAllocString(ns);
    hr =
        locator_->ConnectServer(nsName, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services_);
    SysFreeString(nsName);
    if (FAILED(hr)) {
        services_ = nullptr;
        PrintHresult(m.connect, hr);
        Close();
        return false;
    }
    hr = CoSetProxyBlanket(services_, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                           RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    if (FAILED(hr)) {
        PrintHresult(m.blanket, hr);
        Close();
        return false;
    }
    return true;
}

IEnumWbemClassObject* WmiSession::Query(const wchar_t* wql, const char* failText) {
    if (!services_) return nullptr;
    BSTR language = SysAllocString(L"WQL");
    BSTR query = SysAllocString(wql);
    IEnumWbemClassObject* result = nullptr;
    HRESULT hr = services_->ExecQuery(
        language, query, WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, &result);
    SysFreeString(query);
    SysFreeString(language);
    if (FAILED(hr)) {
        PrintHresult(failText, hr);
        return nullptr;
    }
    return result;
}

std::string WmiText(IWbemClassObject* object, const wchar_t* property) {
    VARIANT value;
    VariantInit(&value);
    std::string text;
    if (SUCCEEDED(object->Get(property, 0, &value, nullptr, nullptr)) && value.vt == VT_BSTR &&
        value.bstrVal) {
        int n = WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, nullptr, 0, nullptr, nullptr);
        if (n > 1) {
            text.resize(n - 1);
            WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, &text[0], n, nullptr, nullptr);
        }
    }
    VariantClear(&value);
    return text;
}

} // namespace vetter
