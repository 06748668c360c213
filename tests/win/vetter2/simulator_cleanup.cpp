// The service simulator is a COM local server started on first use. The
// plug-in keeps its connection until the process ends, and Wine does not drop
// a dead client's references, so the simulator would outlive this program and
// hold the test runner's output pipe open. End it when the tests are done.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

namespace {

void EndSimulators() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32 pe = {};
    pe.dwSize = sizeof pe;
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe)) {
        if (lstrcmpiA(pe.szExeFile, "vtrx-sim.exe") != 0) continue;
        HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pe.th32ProcessID);
        if (!p) continue;
        TerminateProcess(p, 0);
        WaitForSingleObject(p, 5000);
        CloseHandle(p);
    }
    CloseHandle(snap);
}

class SimulatorCleanup : public ::testing::Environment {
  public:
    // A child case (V2_CHILD set) shares its parent's simulator.
    void TearDown() override {
        if (GetEnvironmentVariableA("V2_CHILD", nullptr, 0) == 0) EndSimulators();
    }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new SimulatorCleanup);

} // namespace
