// Installed products through the prefix's Windows Installer.
#include "tests/win/vetter/registry_fixtures.h"
#include "tests/win/vetter/vetter_dll.h"

#include <string>

namespace {

using namespace vettertest;

const char kHostmon1[] = "{7B21C0D4-5E3A-4C19-9F02-1D6E8A4B3C70}";
const char kHostmon2[] = "{2C9E4A61-0B7D-4E58-A3F1-6D02B7C9E814}";
const char kMoba[] = "{E4D07A92-61C3-4B8F-8E25-3F9A0C1D7B46}";
const char kProductA[] = "{0A1B2C3D-4E5F-4061-8293-A4B5C6D7E8F9}";
const char kProductB[] = "{1F2E3D4C-5B6A-4978-8695-A4B3C2D1E0F9}";

using AgentsFn = int (*)(char*, char*, bool, char*);
using MobaFn = int (*)(char*, char*, bool);
using AppFn = int (*)(char*, char*);
using AvailableFn = int (*)(bool);
using HostmonFn = int (*)(bool, char*);
using RivalFn = int (*)(char*);

std::string Env(const char* name) {
    char value[512] = {};
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n && n < sizeof value ? value : "";
}

TEST(VetterProducts, PackedGuid) {
    EXPECT_EQ(PackedGuid(kHostmon1), "4D0C12B7A3E591C4F920D1E6A8B4C307");
}

TEST(VetterProducts, NothingInstalled) {
    auto app = Export<AppFn>("?GetAppVersion@@YAHPAD0@Z");
    char code[64], version[512];
    strcpy(code, kHostmon1);
    EXPECT_EQ(app(code, version), 1);
    char empty[] = "";
    EXPECT_EQ(app(empty, version), 3);
    EXPECT_EQ(app(code, nullptr), 3);
    EXPECT_EQ(app(nullptr, version), 3);
    EXPECT_EQ(Export<AvailableFn>("?Is_VTRX_available@@YAH_N@Z")(false), 0);
    EXPECT_EQ(Condition(2, ""), 0);
}

TEST(VetterProducts, OnlySecondHostmonCodeInstalled) {
    FakeMsiProduct product(kHostmon2, kProductA, "7.20.1");
    SetEnvironmentVariableA("VTRX_VERSION", nullptr);
    char code[64], version[512], productCode[512] = "x";
    strcpy(code, kHostmon1);
    EXPECT_EQ(Export<AppFn>("?GetAppVersion@@YAHPAD0@Z")(code, version), 1);
    strcpy(code, kHostmon2);
    EXPECT_EQ(
        Export<AgentsFn>("?GetNTAgentsVersion@@YAHPAD0_N0@Z")(code, version, false, productCode),
        0);
    EXPECT_STREQ(version, "7.20.1");
    EXPECT_EQ(Env("VTRX_VERSION"), "");
    EXPECT_EQ(Export<AvailableFn>("?Is_VTRX_available@@YAH_N@Z")(false), 1);
    EXPECT_EQ(Env("VTRX_VERSION"), ""); // only publish sets it
    EXPECT_EQ(Condition(2, ""), 1);
    EXPECT_EQ(Export<AvailableFn>("?Is_VTRX_available@@YAH_N@Z")(true), 1);
    EXPECT_EQ(Env("VTRX_VERSION"), "7.20.1");
    char found[512] = "junk";
    EXPECT_EQ(Export<HostmonFn>("?Is_HOSTMON_available@@YAH_NPAD@Z")(false, found), 1);
    EXPECT_STREQ(found, ""); // the version was readable
    EXPECT_EQ(Export<AvailableFn>("?Is_MOBA_available@@YAH_N@Z")(false), 0);

    struct Case {
        const char* data;
        int expected;
    } rivals[] = {
        {"appname=\"MOBA\" rivappname=\"HOSTMON\"", 1},
        {"appname=\"OTHER\" rivappname=\"HOSTMON\"", 0},
        {"appname=\"HOSTMON\" rivappname=\"MOBA\"", 0},
        {"appname=\"MOBA\"", 0},
    };
    for (const Case& c : rivals) {
        std::string data = c.data;
        EXPECT_EQ(Export<RivalFn>("?CheckForRivalApplication@@YAHPAD@Z")(&data[0]), c.expected)
            << c.data;
        EXPECT_EQ(Condition(8, c.data), c.expected) << c.data;
    }
    SetEnvironmentVariableA("VTRX_VERSION", nullptr);
}

TEST(VetterProducts, HostmonWithoutReadableVersion) {
    FakeMsiProduct product(kHostmon1, kProductB, nullptr);
    SetEnvironmentVariableA("VTRX_VERSION", nullptr);
    char code[64], version[512], productCode[512] = {};
    strcpy(code, kHostmon1);
    EXPECT_EQ(
        Export<AgentsFn>("?GetNTAgentsVersion@@YAHPAD0_N0@Z")(code, version, true, productCode), 2);
    EXPECT_STREQ(version, "unknown");
    EXPECT_STREQ(productCode, kProductB);
    EXPECT_EQ(Export<AvailableFn>("?Is_VTRX_available@@YAH_N@Z")(true), 1);
    EXPECT_EQ(Env("VTRX_VERSION"), ""); // nothing published without a version
    char found[512] = {};
    EXPECT_EQ(Export<HostmonFn>("?Is_HOSTMON_available@@YAH_NPAD@Z")(false, found), 1);
    EXPECT_STREQ(found, kProductB);
}

TEST(VetterProducts, MobaPublishesItsVersion) {
    FakeMsiProduct product(kMoba, kProductA, "3.1");
    SetEnvironmentVariableA("MOBA_VERSION", nullptr);
    EXPECT_EQ(Export<AvailableFn>("?Is_VTRX_available@@YAH_N@Z")(true), 1);
    EXPECT_EQ(Env("MOBA_VERSION"), "3.1");
    char code[64], version[512];
    strcpy(code, kMoba);
    EXPECT_EQ(Export<MobaFn>("?GetMOBAVersion@@YAHPAD0_N@Z")(code, version, false), 0);
    EXPECT_STREQ(version, "3.1");
    SetEnvironmentVariableA("MOBA_VERSION", nullptr);
}

} // namespace
