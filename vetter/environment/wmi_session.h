#pragma once
// One WMI connection: COM for the thread, process security, locator,
// services and proxy blanket, released in reverse order. Failures are
// written to standard output as text, HRESULT in hex and a line end.
#define _WIN32_DCOM
#include <windows.h>
#include <wbemidl.h>

#include <string>

namespace vetter {

struct WmiMessages {
    const char* com;
    const char* security;
    const char* locator;
    const char* connect;
    const char* blanket;
};
// The texts of the version checks.
extern const WmiMessages kWmiVersionMessages;

void PrintHresult(const char* text, HRESULT hr);

class WmiSession {
  public:
    WmiSession() = default;
    ~WmiSession();
    WmiSession(const WmiSession&) = delete;
    WmiSession& operator=(const WmiSession&) = delete;

    bool Open(const wchar_t* ns, const WmiMessages& messages);
    // Forward-only, returning immediately; null (message written) on failure.
    IEnumWbemClassObject* Query(const wchar_t* wql, const char* failText);
    IWbemServices* services() const { return services_; }
    void Close();

  private:
    bool comInitialised_ = false;
    IWbemLocator* locator_ = nullptr;
    IWbemServices* services_ = nullptr;
};

// A property as text ("" when missing or not a string).
std::string WmiText(IWbemClassObject* object, const wchar_t* property);

} // namespace vetter
