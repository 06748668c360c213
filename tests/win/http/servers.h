#pragma once
// The test servers of testing/servers/start-all, found through the
// environment (STUB_HTTP_PORT, STUB_HTTPS_PORT, STUB_SCRIPT_PORT, STUB_TLS_CA).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace httptest {

struct Servers {
    std::string http;    // "http://127.0.0.1:<port>" of nginx
    std::string https;   // "https://localhost:<port>" of nginx over TLS
    std::string script;  // "http://127.0.0.1:<port>" of the scripted server
    std::string caFile;  // the test root certificate (DER), as a Windows path
    std::string missing; // names of the variables that are not set
};
Servers FindServers();
// True when STUB_NO_SERVERS=1: the tests that need servers skip.
bool ServersWaived();

// Body of the test files: byte i is (i * 31 + 7) mod 251.
std::string PatternBytes(std::uint32_t size);
// True when bytes is PatternBytes(size); otherwise says where it differs
// (instead of printing binary bodies).
::testing::AssertionResult IsPattern(const std::string& bytes, std::uint32_t size);

} // namespace httptest

// Fails (or, with STUB_NO_SERVERS=1, skips) the test when a server is missing.
#define REQUIRE_SERVERS(s)                                                                         \
    const httptest::Servers s = httptest::FindServers();                                           \
    if (!s.missing.empty()) {                                                                      \
        if (httptest::ServersWaived()) GTEST_SKIP() << "STUB_NO_SERVERS=1";                        \
        FAIL() << "test servers not found: " << s.missing                                          \
               << " not set. Run testing/servers/start-all and export what it prints "             \
                  "(or set STUB_NO_SERVERS=1 to skip).";                                           \
    }
