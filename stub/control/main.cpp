#include "stub/agent/agentproc.h"
#include "stub/control/entry.h"
#include "stub/setup/stubsetup.h"
#include "stub/setup/websetup.h"
#include "stub/ui/kdebug.h"

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string pid = std::to_string(GetCurrentProcessId());
    const std::string commandLine = GetCommandLineA();
    ConsoleLine(pid + " ==== STUB START ====> " + commandLine + "<");

    int exitCode = 0;
    try {
        agentproc::InstallAgentHooks();
        SetWebDownloadSetup(WebSetupStart);
        exitCode = entry::RunStub();
    } catch (...) {
        ConsoleLine(pid + " ==== unexpected failure ====");
    }

    ConsoleLine(pid + " ==== STUB END ====> " + commandLine + "<");
    ConsoleLine("");
    entry::EndTrace();
    return exitCode;
}
