#include "stub/ui/kdebug.h"

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string pid = std::to_string(GetCurrentProcessId());
    const std::string commandLine = GetCommandLineA();
    ConsoleLine(pid + " ==== STUB START ====> " + commandLine + "<");

    ConsoleLine(pid + " ==== STUB END ====> " + commandLine + "<");
    ConsoleLine("");
    return 0;
}
