#include "servers.h"

#include <cstdlib>

namespace httptest {
namespace {
std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}
} // namespace

Servers FindServers() {
    Servers s;
    const std::string http = Env("STUB_HTTP_PORT");
    const std::string https = Env("STUB_HTTPS_PORT");
    const std::string script = Env("STUB_SCRIPT_PORT");
    const std::string ca = Env("STUB_TLS_CA");
    auto need = [&s](const std::string& value, const char* name) {
        if (value.empty()) s.missing += (s.missing.empty() ? "" : ", ") + std::string(name);
    };
    need(http, "STUB_HTTP_PORT");
    need(https, "STUB_HTTPS_PORT");
    need(script, "STUB_SCRIPT_PORT");
    need(ca, "STUB_TLS_CA");
    s.http = "http://127.0.0.1:" + http;
    // The test certificate names localhost and 127.0.0.1.
    s.https = "https://localhost:" + https;
    s.script = "http://127.0.0.1:" + script;
    // Wine maps the Linux root to drive Z:.
    s.caFile = "Z:" + ca;
    for (char& c : s.caFile)
        if (c == '/') c = '\\';
    return s;
}

bool ServersWaived() {
    return Env("STUB_NO_SERVERS") == "1";
}

std::string PatternBytes(std::uint32_t size) {
    std::string bytes(size, '\0');
    for (std::uint32_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((static_cast<std::uint64_t>(i) * 31 + 7) % 251);
    return bytes;
}

::testing::AssertionResult IsPattern(const std::string& bytes, std::uint32_t size) {
    const std::string expected = PatternBytes(size);
    if (bytes == expected) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < bytes.size() && at < expected.size() && bytes[at] == expected[at])
        ++at;
    return ::testing::AssertionFailure() << bytes.size() << " bytes instead of the " << size
                                         << "-byte pattern, first difference at offset " << at;
}

} // namespace httptest
