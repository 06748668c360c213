// HTTPS through WinINet with certificate checks on: the test root is put
// into the current user's root store of the prefix for the time of the test.
#include "servers.h"

#include "stub/net/inethttp.h"
#include "tests/support/wine_test_support.h"

#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// crypt32 is loaded by name: the test programs link no crypt32 import.
struct Crypt32 {
    HMODULE module = LoadLibraryA("crypt32.dll");
    template <typename Fn> Fn Get(const char* name) {
        FARPROC p = module ? GetProcAddress(module, name) : nullptr;
        Fn fn = nullptr;
        static_assert(sizeof fn == sizeof p, "plain function pointers");
        memcpy(&fn, &p, sizeof fn);
        return fn;
    }
    ~Crypt32() {
        if (module) FreeLibrary(module);
    }
};

using OpenStoreFn = HCERTSTORE(WINAPI*)(LPCSTR, DWORD, HCRYPTPROV_LEGACY, DWORD, const void*);
using CloseStoreFn = BOOL(WINAPI*)(HCERTSTORE, DWORD);
using AddEncodedFn = BOOL(WINAPI*)(HCERTSTORE, DWORD, const BYTE*, DWORD, DWORD, PCCERT_CONTEXT*);
using CreateContextFn = PCCERT_CONTEXT(WINAPI*)(DWORD, const BYTE*, DWORD);
using FreeContextFn = BOOL(WINAPI*)(PCCERT_CONTEXT);

using GetPropertyFn = BOOL(WINAPI*)(PCCERT_CONTEXT, DWORD, void*, DWORD*);

// The test root in HKCU's "Root" store: Trust() adds it, Remove() deletes it,
// the destructor removes it again. Removal goes to the registry key itself:
// deleting through the system store left the certificate in place.
class TestRoot {
  public:
    explicit TestRoot(const std::string& der) : der_(der) {}
    ~TestRoot() { Remove(); }
    bool Trust() {
        auto open = c_.Get<OpenStoreFn>("CertOpenStore");
        if (!open) return false;
        HCERTSTORE store =
            open(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "Root");
        if (!store) return false;
        const BOOL ok = c_.Get<AddEncodedFn>("CertAddEncodedCertificateToStore")(
            store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der_.data()),
            static_cast<DWORD>(der_.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
        c_.Get<CloseStoreFn>("CertCloseStore")(store, 0);
        return ok != FALSE && Present();
    }
    void Remove() { RegDeleteKeyA(HKEY_CURRENT_USER, Key().c_str()); }
    bool Present() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, Key().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

  private:
    // The store keeps each certificate under its SHA-1 thumbprint.
    std::string Key() {
        std::string thumbprint;
        PCCERT_CONTEXT cert = c_.Get<CreateContextFn>("CertCreateCertificateContext")(
            X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der_.data()),
            static_cast<DWORD>(der_.size()));
        if (cert) {
            BYTE hash[20] = {};
            DWORD size = sizeof hash;
            if (c_.Get<GetPropertyFn>("CertGetCertificateContextProperty")(
                    cert, CERT_SHA1_HASH_PROP_ID, hash, &size)) {
                static const char kHex[] = "0123456789ABCDEF";
                for (DWORD i = 0; i < size; ++i) {
                    thumbprint += kHex[hash[i] >> 4];
                    thumbprint += kHex[hash[i] & 15];
                }
            }
            c_.Get<FreeContextFn>("CertFreeCertificateContext")(cert);
        }
        return "Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\" + thumbprint;
    }
    Crypt32 c_;
    std::string der_;
};

std::string OwnPath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n < path.size()) return path.substr(0, n);
        path.resize(path.size() * 2);
    }
}

} // namespace

// Run in a child process: the chain engine of a process keeps the root
// store it saw first, so the refusal is checked where the root was never
// trusted.
TEST(InetHTTPS, DISABLED_ChildRefusesAnUnknownRoot) {
    REQUIRE_SERVERS(s);
    const std::string url = s.https + "/k100.bin";
    std::string memory, error;
    SetDownloadAbort(false);
    HTTP_DownloadFile_Incremental(nullptr, url, "", memory, nullptr, error);
    EXPECT_EQ(error, "Unable to open Internet Connection: " + url);
    EXPECT_TRUE(memory.empty());
    EXPECT_EQ(HTTP_GetFileSize(url), -1);
}

TEST(InetHTTPS, DownloadOverTlsOnlyWithATrustedRoot) {
    REQUIRE_SERVERS(s);
    const std::string der = testsupport::ReadWholeFile(s.caFile);
    ASSERT_FALSE(der.empty()) << "cannot read " << s.caFile;
    TestRoot root(der);
    const std::string url = s.https + "/k100.bin";

    // Certificate checks are on: an unknown root is refused.
    root.Remove();
    ASSERT_FALSE(root.Present());
    EXPECT_EQ(
        testsupport::RunAndWait("\"" + OwnPath() +
                                "\" --gtest_also_run_disabled_tests "
                                "--gtest_filter=InetHTTPS.DISABLED_ChildRefusesAnUnknownRoot"),
        0)
        << "the download without a trusted root did not fail as it should";

    // This process makes its first TLS connection only now.
    ASSERT_TRUE(root.Trust());
    std::string memory, error;
    SetDownloadAbort(false);
    HTTP_DownloadFile_Incremental(nullptr, url, "", memory, nullptr, error);
    EXPECT_EQ(error, "");
    EXPECT_TRUE(httptest::IsPattern(memory, 100000));

    testsupport::TempDir dir;
    const std::string target = dir.file("k100.bin");
    HTTP_DownloadFile_Incremental(nullptr, url, target, memory, nullptr, error);
    EXPECT_EQ(error, "");
    EXPECT_TRUE(httptest::IsPattern(testsupport::ReadWholeFile(target), 100000));
    EXPECT_EQ(HTTP_GetFileSize(url), 100000);
}
