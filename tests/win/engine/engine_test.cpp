#include "testing/engine/engine.h"

#include "core/util/ksub.h"
#include "core/util/text.h"
#include "tests/support/wine_test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

using Env = std::vector<std::pair<std::string, std::string>>;

struct Outcome {
    long exitCode = -1;
    std::map<std::string, std::string> record;
};

// The stub starts the engine from the folder it unpacked it to.
std::string EngineIn(const testsupport::TempDir& folder) {
    const std::string copy = folder.file("Engine.exe");
    CopyFileA((testsupport::DistDir() + "\\Engine.exe").c_str(), copy.c_str(), FALSE);
    return copy;
}

// Starts the stand-in with `args` in `folder`; `whileRunning` is called
// until it has ended.
Outcome RunEngine(const testsupport::TempDir& folder, const std::string& args, const Env& env,
                  int show, bool useShow, const std::function<void()>& whileRunning = nullptr) {
    Outcome o;
    const std::string recordPath = folder.file("record.txt");
    DeleteFileA(recordPath.c_str());
    Env all = env;
    all.push_back({engine::kRecordVar, recordPath});
    for (const auto& e : all)
        SetEnvironmentVariableA(e.first.c_str(), e.second.c_str());

    std::string cl = EngineIn(folder) + " " + args;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (useShow) {
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = WORD(show);
    }
    PROCESS_INFORMATION pi = {};
    const BOOL started = CreateProcessA(nullptr, &cl[0], nullptr, nullptr, FALSE, 0, nullptr,
                                        folder.path().c_str(), &si, &pi);
    for (const auto& e : all)
        SetEnvironmentVariableA(e.first.c_str(), nullptr);
    if (!started) return o;
    while (WaitForSingleObject(pi.hProcess, 20) == WAIT_TIMEOUT)
        if (whileRunning) whileRunning();
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    o.exitCode = long(code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);

    std::string text = testsupport::ReadWholeFile(recordPath);
    size_t p = 0;
    while (p < text.size()) {
        size_t e = text.find("\r\n", p);
        if (e == std::string::npos) e = text.size();
        const std::string line = text.substr(p, e - p);
        const size_t eq = line.find('=');
        if (eq != std::string::npos) o.record[line.substr(0, eq)] = line.substr(eq + 1);
        p = e + 2;
    }
    return o;
}

std::string AtomName(const std::string& token) {
    return engine::kAtomPrefix + token;
}
std::string DialogClass(const std::string& token) {
    return engine::kDialogClassPrefix + token;
}

TEST(EngineStandIn, RecordsWhatItGotDeletesTheAtomAndExitsWithTheCode) {
    testsupport::TempDir dir;
    const std::string token = "_4242";
    ASSERT_NE(GlobalAddAtomA(AtomName(token).c_str()), 0);
    const std::string args = "/s /v=1 /TH_ID=" + token + " /OriginExe=\"Z:\\some dir\\setup.exe\"";
    Outcome o = RunEngine(dir, args, {{engine::kExitCodeVar, "3010"}}, SW_HIDE, true);

    EXPECT_EQ(o.exitCode, 3010);
    EXPECT_EQ(o.record["CommandLine"], dir.file("Engine.exe") + " " + args);
    EXPECT_TRUE(SameText(o.record["CurrentFolder"], dir.path())) << o.record["CurrentFolder"];
    EXPECT_EQ(o.record["ShowWindow"], std::to_string(SW_HIDE));
    EXPECT_EQ(o.record["ThreadToken"], token);
    EXPECT_EQ(o.record["OriginExe"], "Z:\\some dir\\setup.exe");
    EXPECT_EQ(o.record["AtomFound"], "TRUE");
    EXPECT_EQ(o.record["AtomDeleted"], "TRUE");
    EXPECT_EQ(o.record["Plugin"], "absent");
    EXPECT_EQ(o.record["ExitCode"], "3010");
    EXPECT_EQ(GlobalFindAtomA(AtomName(token).c_str()), 0);

    ASSERT_TRUE(testsupport::WriteWholeFile(dir.file("Vetter.dll"), "MZ"));
    o = RunEngine(dir, "/TH_ID=_4243", {}, SW_HIDE, true);
    EXPECT_EQ(o.record["Plugin"], "present, not called");
}

TEST(EngineStandIn, HonoursItsControls) {
    testsupport::TempDir dir;
    struct {
        const char* what;
        bool addAtom;
        Env env;
        int show;
        bool useShow;
        const char* found;
        const char* deleted;
        bool atomRemains;
        long exitCode;
        const char* showText;
    } cases[] = {
        {"keeps the atom when told",
         true,
         {{engine::kKeepAtomVar, "1"}},
         SW_SHOW,
         true,
         "TRUE",
         "FALSE",
         true,
         0,
         "5"},
        {"no atom to find",
         false,
         {{engine::kExitCodeVar, "7"}},
         SW_SHOW,
         true,
         "FALSE",
         "FALSE",
         false,
         7,
         "5"},
        {"no show state given", true, {}, 0, false, "TRUE", "TRUE", false, 0, "none"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string token = "_77" + std::to_string(++n);
        if (c.addAtom) {
            ASSERT_NE(GlobalAddAtomA(AtomName(token).c_str()), 0);
        }
        Outcome o = RunEngine(dir, "/TH_ID=" + token, c.env, c.show, c.useShow);
        EXPECT_EQ(o.exitCode, c.exitCode);
        EXPECT_EQ(o.record["AtomFound"], c.found);
        EXPECT_EQ(o.record["AtomDeleted"], c.deleted);
        EXPECT_EQ(o.record["ShowWindow"], c.showText);
        const ATOM left = GlobalFindAtomA(AtomName(token).c_str());
        EXPECT_EQ(left != 0, c.atomRemains);
        if (left) GlobalDeleteAtom(left);
    }
}

TEST(EngineStandIn, DialogWindowWhileRunningAndAfterItsExit) {
    testsupport::TempDir dir;
    const std::string token = "_9001";
    bool seenWhileRunning = false;
    const DWORD start = GetTickCount();
    Outcome o =
        RunEngine(dir, "/TH_ID=" + token, {{engine::kDialogMsVar, "1200"}}, SW_HIDE, true, [&] {
            if (FindWindowA(DialogClass(token).c_str(), nullptr)) seenWhileRunning = true;
        });
    EXPECT_GE(GetTickCount() - start, 1100u);
    EXPECT_TRUE(seenWhileRunning);
    EXPECT_EQ(o.record["DialogMs"], "1200");
    EXPECT_EQ(FindWindowA(DialogClass(token).c_str(), nullptr), nullptr);

    const std::string token2 = "_9002";
    o = RunEngine(dir, "/TH_ID=" + token2, {{engine::kLingerMsVar, "1500"}}, SW_HIDE, true);
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.record["LingerStarted"], "TRUE");
    EXPECT_NE(FindWindowA(DialogClass(token2).c_str(), nullptr), nullptr);
    const DWORD waitStart = GetTickCount();
    while (FindWindowA(DialogClass(token2).c_str(), nullptr) && GetTickCount() - waitStart < 10000)
        Sleep(50);
    EXPECT_EQ(FindWindowA(DialogClass(token2).c_str(), nullptr), nullptr);
}

} // namespace
