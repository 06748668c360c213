// The shipped stub and the debugview tool, run as separate processes.
#include "stub/ui/kdebug.h"
#include "stub/util/handles.h"
#include "tests/support/wine_test_support.h"
#include "tests/win/debug/private_desktop.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

struct Process {
    win::Handle handle;
    DWORD pid = 0;
};

Process Start(const std::string& commandLine, HANDLE standardOutput = nullptr) {
    std::string desktop = PrivateDesktopName();
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.lpDesktop = desktop.empty() ? nullptr : &desktop[0];
    if (standardOutput) {
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = standardOutput;
        si.hStdError = standardOutput;
    }
    PROCESS_INFORMATION pi = {};
    std::string cmd = commandLine;
    Process p;
    if (CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, standardOutput ? TRUE : FALSE, 0,
                       nullptr, nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        p.handle.reset(pi.hProcess);
        p.pid = pi.dwProcessId;
    }
    return p;
}

// Exit code, or -1 when the process is still running after timeoutMs.
long WaitExit(const Process& p, DWORD timeoutMs) {
    if (WaitForSingleObject(p.handle.get(), timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(p.handle.get(), &code);
    return static_cast<long>(code);
}

// The viewer window belonging to process pid, once it exists.
HWND WaitForViewerWindow(DWORD pid) {
    for (DWORD until = GetTickCount() + 10000; GetTickCount() < until; Sleep(20)) {
        for (HWND w = FindWindowExA(nullptr, nullptr, kDebugViewerClass, nullptr); w;
             w = FindWindowExA(nullptr, w, kDebugViewerClass, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == pid) return w;
        }
    }
    return nullptr;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}
std::string Viewer() {
    return Quoted(testsupport::DistDir() + "\\debugview.exe");
}

// Ends a viewer when a test stops early; a viewer ends by itself anyway.
class ViewerRun {
  public:
    explicit ViewerRun(const std::string& options) : process_(Start(Viewer() + " " + options)) {
        if (process_.pid) window_ = WaitForViewerWindow(process_.pid);
    }
    ~ViewerRun() {
        if (process_.handle && WaitExit(process_, 0) == -1)
            TerminateProcess(process_.handle.get(), 1);
    }
    ViewerRun(const ViewerRun&) = delete;
    ViewerRun& operator=(const ViewerRun&) = delete;
    HWND window() const { return window_; }
    const Process& process() const { return process_; }
    long Close() {
        PostMessageA(window_, WM_CLOSE, 0, 0);
        return WaitExit(process_, 5000);
    }

  private:
    Process process_;
    HWND window_ = nullptr;
};

} // namespace

// The worked example of docs/debugview.md.
TEST(DebugView, StubStartAndEndLinesReachTheViewerFile) {
    testsupport::TempDir dir;
    ASSERT_FALSE(dir.path().empty());
    const std::string log = dir.file("stub-debug.txt");
    ASSERT_TRUE(testsupport::WriteWholeFile(log, "earlier run\r\n"));

    ViewerRun viewer("--out " + Quoted(log) + " --exit-after-ms 60000 --exit-with-pid " +
                     std::to_string(GetCurrentProcessId()));
    ASSERT_NE(viewer.window(), nullptr);

    const std::string stubLine = Quoted(testsupport::DistDir() + "\\stub.exe") + " /SleepX=0 /hide";
    Process stub = Start(stubLine);
    ASSERT_NE(stub.pid, 0u);
    ASSERT_EQ(WaitExit(stub, 30000), 0);

    const std::string pid = std::to_string(stub.pid);
    const std::string startLine = pid + " ==== STUB START ====> " + stubLine + "<\r\n";
    const std::string endLine = pid + " ==== STUB END ====> " + stubLine + "<\r\n";
    const std::string text = testsupport::ReadWholeFile(log);
    EXPECT_EQ(text.rfind("earlier run\r\n", 0), 0u) << "the file is appended to";
    const size_t start = text.find(startLine);
    const size_t end = text.find(endLine + "\r\n");
    ASSERT_NE(start, std::string::npos) << text;
    ASSERT_NE(end, std::string::npos) << text;
    EXPECT_LT(start, end);

    EXPECT_EQ(viewer.Close(), 0);
}

TEST(DebugView, WithoutOutFileWritesChunksToStandardOutput) {
    testsupport::TempDir dir;
    ASSERT_FALSE(dir.path().empty());
    const std::string captured = dir.file("stdout.txt");
    {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        win::File out(CreateFileA(captured.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(out);
        Process viewer = Start(Viewer() + " --exit-after-ms 30000", out.get());
        ASSERT_NE(viewer.pid, 0u);
        HWND window = WaitForViewerWindow(viewer.pid);
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(FindWindowA(kDebugViewerClass, nullptr), window);

        ConsoleLine(std::string(200, 'x')); // two chunks, read before each send returns
        PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitExit(viewer, 5000), 0);
    }
    EXPECT_NE(testsupport::ReadWholeFile(captured).find(std::string(200, 'x') + "\r\n"),
              std::string::npos);
}

TEST(DebugView, EndsByItselfAfterItsTimeOrWithTheFollowedProcess) {
    ViewerRun timed("--exit-after-ms 500");
    ASSERT_NE(timed.window(), nullptr);
    EXPECT_EQ(WaitExit(timed.process(), 10000), 0);

    ViewerRun followed("--exit-after-ms 60000");
    ASSERT_NE(followed.window(), nullptr);
    ViewerRun follower("--exit-after-ms 60000 --exit-with-pid " +
                       std::to_string(followed.process().pid));
    ASSERT_NE(follower.window(), nullptr);
    EXPECT_EQ(followed.Close(), 0);
    EXPECT_EQ(WaitExit(follower.process(), 10000), 0) << "long before its own time is up";
}

TEST(DebugView, RejectsBadOptions) {
    const char* bad[] = {
        "--exit-after-ms", "--exit-after-ms soon", "--exit-after-ms -5", "--exit-with-pid", "--out",
        "--verbose"};
    for (const char* options : bad) {
        SCOPED_TRACE(options);
        Process viewer = Start(Viewer() + " " + options);
        ASSERT_NE(viewer.pid, 0u);
        EXPECT_EQ(WaitExit(viewer, 10000), 2);
    }
}
