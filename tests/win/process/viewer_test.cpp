// ProcessViewer under each listing method: a copy of this program runs the
// InReportedVersion tests with the Windows version Wine reports to it
// (tasklist on 8 and later, PSAPI on 7 and XP, ToolHelp on 98), against a
// window child started from a folder and file name with spaces.
#include "stub/agent/processviewer.h"

#include "core/util/ksub.h"
#include "stub/util/process.h"
#include "tests/support/wine_test_support.h"
#include "tests/win/process/probes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

const char kExpectVar[] = "PROCESS_VIEWER_EXPECT";

// ASCII letters with their case swapped.
std::string ReverseCase(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return s;
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? std::string(v) : std::string();
}

struct Version {
    const char* wine;
    ProcessListing listing;
};
const Version kVersions[] = {
    {"win8", ProcessListing::Tasklist},
    {"win7", ProcessListing::Psapi},
    {"winxp", ProcessListing::Psapi},
    {"win98", ProcessListing::Toolhelp},
};

TEST(ProcessViewer, EveryListingMethodInAProgramCopy) {
    for (const Version& v : kVersions) {
        testsupport::TempDir dir;
        const std::string name =
            std::string("pv_") + v.wine + "_" + std::to_string(GetCurrentProcessId()) + ".exe";
        const std::string exe = dir.file(name);
        ASSERT_TRUE(CopyFileA(procprobes::SelfPath().c_str(), exe.c_str(), FALSE));
        // The program's own folder is searched first, before Wine's silent tasklist.
        const std::string standin = testsupport::DistDir() + "\\tasklist-standin\\tasklist.exe";
        ASSERT_TRUE(CopyFileA(standin.c_str(), dir.file("tasklist.exe").c_str(), FALSE)) << standin;
        ASSERT_TRUE(testsupport::SetWineAppVersion(name, v.wine));
        SetEnvironmentVariableA(kExpectVar, v.wine);
        const long code =
            testsupport::RunAndWait("\"" + exe + "\" --gtest_filter=InReportedVersion.*", 300000);
        SetEnvironmentVariableA(kExpectVar, nullptr);
        testsupport::SetWineAppVersion(name, "");
        EXPECT_EQ(code, 0) << v.wine;
    }
}

class InReportedVersion : public ::testing::Test {
  protected:
    void SetUp() override {
        wine_ = Env(kExpectVar);
        if (wine_.empty()) GTEST_SKIP() << "runs in a copy with a reported Windows version";
        for (const Version& v : kVersions)
            if (wine_ == v.wine) listing_ = v.listing;
        folder_ = dir_.file("Child Folder");
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
        name_ = "pv child " + std::to_string(GetCurrentProcessId()) + ".exe";
        path_ = folder_ + "\\" + name_;
    }
    // The snapshot lists full paths on 9x; Wine's lists file names only.
    bool SnapshotHasPaths(DWORD pid) const {
        for (const SnapshotProcess& p : ProcessSnapshot())
            if (p.processId == pid) return p.exeFile.find('\\') != std::string::npos;
        return false;
    }
    // What the operations are given: the path, unless the method cannot see paths.
    std::string Target(DWORD pid) const {
        return listing_ == ProcessListing::Toolhelp && !SnapshotHasPaths(pid) ? name_ : path_;
    }
    std::string Log(int n) const { return dir_.file("child" + std::to_string(n) + ".log"); }
    std::string Title(int n) const {
        return "PV child " + std::to_string(GetCurrentProcessId()) + " " + std::to_string(n);
    }

    testsupport::TempDir dir_;
    std::string wine_, folder_, name_, path_;
    ProcessListing listing_ = ProcessListing::Psapi;
};

TEST_F(InReportedVersion, FindsTheChildByPathShortPathAndName) {
    EXPECT_EQ(CurrentProcessListing(), listing_);
    procprobes::WindowChild child(path_, Title(1), Log(1));
    ASSERT_TRUE(child.started());
    const DWORD pid = child.pid();
    const std::string shortPath = ShortPathOf(path_);
    ASSERT_NE(shortPath, "");
    ASSERT_NE(shortPath, path_);

    const bool paths = SnapshotHasPaths(pid);
    struct Case {
        const char* what;
        std::string target;
        bool fullPathOnly;
        DWORD tasklist, psapi, toolhelp;
    } cases[] = {
        {"full path", path_, false, pid, pid, paths ? pid : 0},
        {"full path, other case", "  " + ReverseCase(path_) + " ", false, pid, pid,
         paths ? pid : 0},
        {"full path only", path_, true, pid, pid, paths ? pid : 0},
        // Tasklist compares file names, and the short one is another name.
        {"short path", shortPath, false, 0, pid, paths ? pid : 0},
        {"file name", name_, false, pid, pid, pid},
        // Wine's snapshot text is the file name, so it is the "full" text too.
        {"file name with full paths only", name_, true, pid, 0, paths ? 0 : pid},
        {"same name elsewhere", "C:\\elsewhere\\" + name_, false, pid, 0, 0},
        {"missing program", folder_ + "\\missing.exe", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const DWORD expected = listing_ == ProcessListing::Tasklist ? c.tasklist
                               : listing_ == ProcessListing::Psapi  ? c.psapi
                                                                    : c.toolhelp;
        EXPECT_EQ(FindProcessId(c.target, c.fullPathOnly), expected) << c.what;
    }

    EXPECT_TRUE(IsProcessRunning("\"" + Target(pid) + "\""));
    EXPECT_FALSE(IsProcessRunning(folder_ + "\\missing.exe"));
    EXPECT_EQ(SUB::GetValue(ProcessNameList(false), name_), std::to_string(pid));
    if (wine_ == "winxp")
        EXPECT_EQ(SUB::GetValue(ProcessNameList(true), path_), std::to_string(pid));

    EXPECT_EQ(FindProcessMainWindow(Target(pid), false), child.window());
    EXPECT_EQ(FindProcessMainWindow(folder_ + "\\missing.exe", false), nullptr);
}

TEST_F(InReportedVersion, MessagesWaitsClosesQuitsAndTerminates) {
    {
        procprobes::WindowChild child(path_, Title(2), Log(2));
        ASSERT_TRUE(child.started());
        const std::string target = Target(child.pid());
        EXPECT_TRUE(PostProcessMessage(target, false, WM_USER + 7, 3, 4));
        EXPECT_TRUE(procprobes::WaitForText(Log(2), "msg 7 3 4", 10000));
        EXPECT_FALSE(PostProcessMessage(folder_ + "\\missing.exe", false, WM_USER + 7, 3, 4));

        DWORD start = GetTickCount();
        WaitProcessEnd(target, 600);
        EXPECT_GE(GetTickCount() - start, 550u) << "returned while the child still runs";
        start = GetTickCount();
        WaitProcessEnd(folder_ + "\\missing.exe", 0);
        EXPECT_LT(GetTickCount() - start, 1000u);

        CloseProcessWindow(target, false, 15000);
        DWORD code = 0;
        EXPECT_TRUE(child.Ended(0, &code)) << "CloseProcessWindow returned before the end";
        EXPECT_EQ(code, 7u);
        EXPECT_NE(testsupport::ReadWholeFile(Log(2)).find("close 15 255"), std::string::npos);
        EXPECT_FALSE(IsProcessRunning(target));
    }
    {
        procprobes::WindowChild child(path_, Title(3), Log(3));
        ASSERT_TRUE(child.started());
        QuitProcessWindow(Target(child.pid()), false);
        DWORD code = 0;
        EXPECT_TRUE(child.Ended(10000, &code));
        EXPECT_EQ(code, 15u); // WM_QUIT's wParam ends the loop
    }
    {
        procprobes::WindowChild child(path_, Title(4), Log(4));
        ASSERT_TRUE(child.started());
        const bool fullPathOnly = listing_ != ProcessListing::Toolhelp;
        EXPECT_TRUE(TerminateProcessByPath(Target(child.pid()), fullPathOnly));
        DWORD code = 99;
        EXPECT_TRUE(child.Ended(10000, &code));
        EXPECT_EQ(code, 0u);
        EXPECT_FALSE(TerminateProcessByPath(Target(child.pid()), fullPathOnly));
    }
    {
        procprobes::WindowChild child(path_, Title(5), Log(5), "/CloseAfter=800");
        ASSERT_TRUE(child.started());
        const DWORD start = GetTickCount();
        WaitWhileWindowExists("ProcProbeWindow", Title(5));
        EXPECT_GE(GetTickCount() - start, 400u);
        EXPECT_EQ(FindWindowA("ProcProbeWindow", Title(5).c_str()), nullptr);
        EXPECT_TRUE(child.Ended(10000));
    }
}

TEST_F(InReportedVersion, TasklistFirstLineWinsAndIsCalledWithCsv) {
    if (listing_ != ProcessListing::Tasklist) GTEST_SKIP() << "Windows 8 and later only";
    const std::string file = dir_.file("tasklist.txt");
    const std::string log = dir_.file("tasklist.log");
    ASSERT_TRUE(testsupport::WriteWholeFile(
        file, "\r\n\"Image Name\",\"PID\",\"Session Name\",\"Session#\",\"Mem Usage\"\r\n"
              "\"twice.exe\",\"111\",\"Console\",\"1\",\"1,000 K\"\r\n"
              "\"twice.exe\",\"222\",\"Console\",\"1\",\"2,000 K\"\r\n"));
    SetEnvironmentVariableA("TASKLIST_STANDIN_FILE", file.c_str());
    SetEnvironmentVariableA("TASKLIST_STANDIN_LOG", log.c_str());
    EXPECT_EQ(FindProcessId("D:\\any\\TWICE.EXE", true), 111u);
    EXPECT_EQ(FindProcessId("Image Name", false), 0u);
    SetEnvironmentVariableA("TASKLIST_STANDIN_FILE", nullptr);
    SetEnvironmentVariableA("TASKLIST_STANDIN_LOG", nullptr);
    EXPECT_NE(testsupport::ReadWholeFile(log).find("tasklist.exe /FO csv"), std::string::npos);
}

TEST(ProcessWindows, ListsInStepAndStopsAtTheWanted) {
    testsupport::TempDir dir;
    const std::string name = "pw child " + std::to_string(GetCurrentProcessId()) + ".exe";
    const std::string title = "PW child " + std::to_string(GetCurrentProcessId());
    procprobes::WindowChild child(dir.file(name), title, dir.file("child.log"));
    ASSERT_TRUE(child.started());

    EXPECT_EQ(SUB::GetValue(ProcessList(true, false), name), std::to_string(child.pid()));
    const std::string handles = SUB::Values(ProcessList(false, true));
    EXPECT_TRUE(SUB::Contains(handles, std::to_string(reinterpret_cast<uintptr_t>(child.window())),
                              false, false));
    const std::string names = ProcessList(false, false);
    EXPECT_EQ(names, SUB::Unique(names));
    EXPECT_TRUE(SUB::Contains(names, name, true, true));

    TProcessData all;
    EnumProcessWindows(true, "*", -1, all);
    const int n = SUB::Count(all.fileNames);
    for (const std::string* l : {&all.processIds, &all.classNames, &all.windowHandles,
                                 &all.threadIds, &all.titles, &all.visibleFlags})
        EXPECT_EQ(SUB::Count(*l), n);
    const int i = SUB::IndexOf(all.titles, title, false);
    ASSERT_GE(i, 0);
    EXPECT_EQ(SUB::Get(all.fileNames, i), name);
    EXPECT_EQ(SUB::Get(all.classNames, i), "ProcProbeWindow");
    EXPECT_EQ(SUB::Get(all.visibleFlags, i), "1");
    EXPECT_EQ(SUB::Get(all.processIds, i), std::to_string(child.pid()));
    EXPECT_GE(n, 2); // the child has two windows, both listed

    for (bool byId : {false, true}) {
        TProcessData search;
        EnumProcessWindows(false, byId ? "*" : name, byId ? child.pid() : -1, search);
        EXPECT_EQ(SUB::Get(search.fileNames, -1), name) << byId;
        EXPECT_EQ(search.fileNames, SUB::Unique(search.fileNames)) << byId;
    }
}

} // namespace
