// Version resources of the built stub, the Windows version and its class as
// Wine reports it per program, and the user and machine names.
#include "stub/util/sysinfo.h"

#include "core/util/text.h"
#include "stub/util/paths.h"
#include "stub/util/registry.h"
#include "tests/support/wine_test_support.h"
#include "tests/win/util/probes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string StubExe() {
    return testsupport::DistDir() + "\\stub.exe";
}

TEST(VersionResources, FileAndProductVersionOfTheStub) {
    ASSERT_NE(GetFileAttributesA(StubExe().c_str()), INVALID_FILE_ATTRIBUTES) << StubExe();
    EXPECT_EQ(GetExeVersion(StubExe()), "1.0.0.1");
    EXPECT_EQ(GetExeVersion(StubExe(), 3, 4), "001.000.000.001");
    EXPECT_EQ(GetExeVersion(StubExe(), 1, 2), "1.0");

    testsupport::TempDir dir;
    const std::string log = dir.file("stdout.txt");
    std::string product;
    {
        probes::CaptureStdout capture(log);
        product = GetProductVersion(StubExe());
    }
    EXPECT_EQ(product, "1.0.0.1");
    EXPECT_NE(testsupport::ReadWholeFile(log).find("[QueryValue]  [" + StubExe() +
                                                   "]  [ProductVersion]  [1.0.0.1]"),
              std::string::npos);
    EXPECT_EQ(GetProductVersion(StubExe(), 4, 3), "0001.0000.0000");
}

TEST(VersionResources, FilesWithoutOneGiveEmptyTexts) {
    testsupport::TempDir dir;
    const std::string plain = dir.file("plain.txt");
    ASSERT_TRUE(testsupport::WriteWholeFile(plain, "no resources here"));
    const std::string log = dir.file("stdout.txt");
    std::string product;
    {
        probes::CaptureStdout capture(log);
        product = GetProductVersion(plain);
    }
    EXPECT_EQ(product, "");
    EXPECT_NE(
        testsupport::ReadWholeFile(log).find("[QueryValue]  [" + plain + "]  [ProductVersion]  []"),
        std::string::npos);
    EXPECT_EQ(GetExeVersion(plain), "");
    EXPECT_EQ(GetExeVersion(dir.file("missing.exe"), 4, 4), "");
    EXPECT_EQ(GetProductVersion(""), "");
    // The test program itself has no version resource.
    EXPECT_EQ(GetExeVersion(""), "");
    EXPECT_FALSE(KernelVersion().empty());
}

TEST(WindowsVersion, RecordAndFlagsAgree) {
    const OSVERSIONINFOA& v = GetOSVersion();
    EXPECT_EQ(v.dwOSVersionInfoSize, 148u);
    EXPECT_TRUE(IsWinNT());
    EXPECT_EQ(IsWinXP(), v.dwMajorVersion == 5 && v.dwMinorVersion == 1);
    EXPECT_EQ(IsWin8OrLater(),
              v.dwMajorVersion > 6 || (v.dwMajorVersion == 6 && v.dwMinorVersion >= 2));
#ifdef _WIN64
    EXPECT_TRUE(Is64BitWindows());
#else
    BOOL wow = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow);
    EXPECT_EQ(Is64BitWindows(), wow != FALSE);
#endif
    std::string version, name, sp;
    uint32_t build = 0;
    const uint32_t flag = OSClass(version, name, sp, build);
    const OSClassInfo expected = OSClassOf(2, v.dwMajorVersion, v.dwMinorVersion, v.dwBuildNumber,
                                           Is64BitWindows(), IsServerOS());
    EXPECT_EQ(flag, expected.flag);
    EXPECT_EQ(name, expected.name);
    EXPECT_EQ(version, std::to_string(v.dwMajorVersion) + "." + std::to_string(v.dwMinorVersion));
    EXPECT_EQ(build, v.dwBuildNumber);
    EXPECT_TRUE(sp.empty() || (sp.front() > ' ' && sp.back() > ' '));
}

// Runs a copy of this program with the Windows version Wine reports to it.
struct ClassProbe {
    uint32_t flag = 0;
    std::string text;
};
ClassProbe RunClassProbe(const std::string& wineVersion) {
    testsupport::TempDir dir;
    const std::string name = "osclass_probe_" + std::to_string(GetCurrentProcessId()) + ".exe";
    const std::string exe = dir.file(name);
    ClassProbe result;
    if (!CopyFileA(probes::SelfPath().c_str(), exe.c_str(), FALSE)) return result;
    if (!testsupport::SetWineAppVersion(name, wineVersion)) return result;
    const std::string out = dir.file("class.txt");
    long code = testsupport::RunAndWait(probes::ProbeCommand(exe, "osclass", "/Out=" + out), 30000);
    testsupport::SetWineAppVersion(name, "");
    result.flag = static_cast<uint32_t>(code);
    result.text = testsupport::ReadWholeFile(out);
    return result;
}

TEST(WindowsVersion, ClassOfTheVersionWineReports) {
    const bool is64 = Is64BitWindows();
    struct Case {
        const char* wine;
        uint32_t flag32, flag64;
        const char* text32;
        const char* text64;
    } cases[] = {
        {"win8", OS_8, OS_864, "6.2\n8\n1", "6.2\n8.64\n1"},
        {"vista", OS_VISTA, OS_VISTA64, "6.0\nVista\n0", "6.0\nVista.64\n0"},
        {"win2008", OS_2008, OS_200864, "6.0\n2008\n0", "6.0\n2008.64\n0"},
        // 5.2 has no server row: a 64-bit 2003 is classed with XP x64.
        {"win2003", OS_2003, OS_XP64, "5.2\n2003\n0", "5.2\nXP.64\n0"},
        {"winxp", OS_XP, OS_XP, "5.1\nXP\n0", "5.1\nXP\n0"},
        {"win2k", OS_2000, OS_2000, "5.0\n2000\n0", "5.0\n2000\n0"},
        // Not 6.1: Wine 8.0 reports its win7 setting as a server and
        // win2008r2 as a workstation.
    };
    for (const Case& c : cases) {
        ClassProbe probe = RunClassProbe(c.wine);
        EXPECT_EQ(probe.flag, is64 ? c.flag64 : c.flag32) << c.wine;
        EXPECT_EQ(probe.text, is64 ? c.text64 : c.text32) << c.wine;
    }
}

TEST(MachineNames, UserComputerDomainOwner) {
    const std::string user = UserName();
    EXPECT_FALSE(user.empty());
    EXPECT_EQ(user, Trim(user));
    EXPECT_FALSE(ComputerName().empty());
    UserDomain(); // may be empty under Wine; must not fail
    EXPECT_EQ(WindowsVersionKey(),
              "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");

    // Independent read of the owner value: missing means the user name.
    HKEY key = nullptr;
    std::string owner = user;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                      KEY_READ | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS) {
        char buffer[1024] = {};
        DWORD size = sizeof buffer - 1, type = 0;
        if (RegQueryValueExA(key, "RegisteredOwner", nullptr, &type,
                             reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS)
            owner = Trim(buffer);
        RegCloseKey(key);
    }
    EXPECT_EQ(RegisteredOwner(), owner);
    const std::string org = RegisteredOrganization();
    EXPECT_EQ(org, Trim(org));
    LoadWin64Libraries();
    EXPECT_NE(GetModuleHandleA("shell32.dll"), nullptr);
}

} // namespace
