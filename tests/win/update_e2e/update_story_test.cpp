// The whole update story with the real stub.exe: a product with its plain
// agent beside it, an update offered from a source folder, the copy that
// checks, downloads, ends the product, installs through the setup run,
// records the new version, restarts the product and hands over to a fresh
// copy, which "/STOP=0" then ends.
#include "tests/support/wine_test_support.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

namespace {

using testsupport::ReadWholeFile;
using testsupport::RunAndWait;
using testsupport::WriteWholeFile;

constexpr char kToken[] = "Story-7";

bool Pack(const std::string& payload, const std::string& out, const std::string& args) {
    const std::string dist = testsupport::DistDir();
    const std::string cl = "\"" + dist + "\\stubpack.exe\" build --stub \"" + dist +
                           "\\stub.exe\" --quiet --out \"" + out + "\" --payload \"" + payload +
                           "\" " + args;
    return RunAndWait(cl, 120000) == 0;
}

bool WaitFor(const std::function<bool()>& done, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Sleep(200);
    }
    return true;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Ini(const std::string& file, const char* section, const char* key, const std::string& v) {
    WritePrivateProfileStringA(section, key, v.c_str(), file.c_str());
}

int IniInt(const std::string& file, const char* section, const char* key) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, -1, file.c_str()));
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(UpdateStory, AgentInstallsTheUpdateAndRestartsTheProduct) {
    testsupport::TempDir root;
    const std::string app = root.file("app");
    const std::string src = root.file("src");
    const std::string pay = root.file("pay");
    CreateDirectoryA(app.c_str(), nullptr);
    CreateDirectoryA(src.c_str(), nullptr);
    CreateDirectoryA(pay.c_str(), nullptr);
    const std::string dist = testsupport::DistDir();
    ASSERT_TRUE(CopyFileA((dist + "\\Engine.exe").c_str(), (pay + "\\Engine.exe").c_str(), FALSE));
    ASSERT_TRUE(WriteWholeFile(pay + "\\readme.txt", "update\r\n"));
    const std::string product = app + "\\Product.exe";
    ASSERT_TRUE(CopyFileA((dist + "\\Product.exe").c_str(), product.c_str(), FALSE));

    // The plain agent and the update's setup, both with the same secret.
    const std::string agentExe = app + "\\Agent.exe";
    ASSERT_TRUE(Pack(pay, agentExe,
                     "--agent --trace-log --agent-name Agent.exe --descriptor app.info "
                     "--update-location \"" +
                         src + "\" --token " + kToken));
    const std::string update = src + "\\Update.exe";
    ASSERT_TRUE(Pack(pay, update, std::string("--token ") + kToken));
    const size_t updateSize = ReadWholeFile(update).size();

    const std::string base = app + "\\app.original";
    Ini(base, "OriginalSetup", "VersionOriginal", "1");
    Ini(base, "OriginalSetup", "ProbeSecondsInterval", "3600");
    Ini(base, "Directories", "TargetDir", app);
    const std::string info = src + "\\app.info";
    Ini(info, "NewSetup", "VersionNew", "2");
    Ini(info, "NewSetup", "Stamp", "1");
    Ini(info, "NewSetup", "DownloadURL_UPDATE", src);
    Ini(info, "NewSetup", "NameOfUpdateFile", "Update.exe");
    Ini(info, "NewSetup", "SizeOfUpdateFile", std::to_string(updateSize));
    Ini(info, "NewSetup", "ShutDownMethod", "Using WM_CLOSE");
    Ini(info, "NewSetup", "RunningProcess", "<InstallDir>Product.exe");
    Ini(info, "NewSetup", "RestartProcess", "1");
    Ini(info, "NewSetup", "InformFinish", "0");
    Ini(info, "NewSetup", "BackgroundUpdate", "1");

    const std::string engineRecord = root.file("engine.txt");
    const std::string productRecord = root.file("product.txt");
    SetEnvironmentVariableA("STANDIN_ENGINE_RECORD", engineRecord.c_str());
    SetEnvironmentVariableA("STANDIN_PRODUCT_RECORD", productRecord.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kolvane\\Tarnix\\AutoUpdate");

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string cl = "\"" + product + "\"";
    ASSERT_TRUE(CreateProcessA(nullptr, &cl[0], nullptr, nullptr, FALSE, 0, nullptr, app.c_str(),
                               &si, &pi));
    CloseHandle(pi.hThread);
    WaitForInputIdle(pi.hProcess, 5000);

    // The first start makes the copy; the second asks it for a check.
    EXPECT_EQ(RunAndWait("\"" + agentExe + "\"", 30000), 0);
    const std::string copy = app + "\\X_Agent.exe";
    EXPECT_TRUE(Exists(copy));
    EXPECT_EQ(RunAndWait("\"" + agentExe + "\" /TEST=1", 30000), 0);

    EXPECT_TRUE(
        WaitFor([&] { return IniInt(base, "OriginalSetup", "VersionOriginal") == 2; }, 60000));
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0) << "product not ended";
    CloseHandle(pi.hProcess);
    // Restarted after the installation.
    EXPECT_TRUE(WaitFor([&] { return Count(ReadWholeFile(productRecord), "start") == 2; }, 20000))
        << ReadWholeFile(productRecord);

    const std::string record = ReadWholeFile(engineRecord);
    EXPECT_NE(record.find("/OriginalInfoFile=\"" + app + "\\app.info\""), std::string::npos)
        << record;
    EXPECT_NE(record.find("ShowWindow=0"), std::string::npos) << record;
    EXPECT_FALSE(Exists(app + "\\Update.exe"));

    // The restarted plain agent waits 10 seconds, then makes a fresh copy.
    const std::string log = app + "\\X_Agent.log";
    EXPECT_TRUE(WaitFor(
        [&] { return Count(ReadWholeFile(log), "CreateAndRun_X_Exe() --- End") >= 3; }, 40000))
        << ReadWholeFile(log);
    const std::string trace = ReadWholeFile(log);
    EXPECT_NE(trace.find("PerformAutoUpdate() - END    Result=TRUE"), std::string::npos);
    EXPECT_NE(trace.find("Shut Down Process() - START  (" + product + ")  Method: Using WM_CLOSE"),
              std::string::npos)
        << trace.substr(trace.find("Shut Down"), 300);
    EXPECT_NE(trace.find(" /_ZZ=99 /WAIT=10 /TRANSIENT=|255|255|255|255|255|255|255|255|"),
              std::string::npos);
    Sleep(3000);

    // "/STOP=0" ends the copy at its next tick, and it deletes its own file.
    EXPECT_EQ(RunAndWait("\"" + agentExe + "\" /STOP=0", 30000), 0);
    EXPECT_TRUE(WaitFor([&] { return !Exists(copy); }, 20000));

    if (HWND w = FindWindowA("StandinProduct", nullptr)) PostMessageA(w, WM_DESTROY, 0, 0);
    WaitFor([&] { return Count(ReadWholeFile(productRecord), "end") == 2; }, 5000);
}

} // namespace
