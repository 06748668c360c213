#include "stub/setup/spanrelaunch.h"

#include "core/control/setupline.h"
#include "stub/setup/stubsetup.h"
#include "stub/ui/kdebug.h"
#include "stub/util/handles.h"
#include "stub/util/paths.h"
#include "stub/util/utils.h"

#include <windows.h>

#include <vector>

bool SpanRelaunch() {
    const std::string pid = std::to_string(GetCurrentProcessId());
    const std::string exe = ExePath(false);
    const size_t cut = exe.find_last_of("\\/");
    const std::string name = cut == std::string::npos ? exe : exe.substr(cut + 1);
    const std::string copy = PathSlash(SetupFolder(), true) + kSpanCopyPrefix + name;
    if (!CopyFileA(exe.c_str(), copy.c_str(), FALSE)) {
        ConsoleLine(pid + " ==== SpanRelaunch: cannot copy to " + copy + ": " + LastErrorText());
        return false;
    }
    const std::string command = copy + " " + setupline::SpanRelaunchArguments(CommandTail(), exe);
    ConsoleLine(pid + " ==== SpanRelaunch >>" + command + "<<");
    std::vector<char> cl(command.begin(), command.end());
    cl.push_back('\0');
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    // Not WinExec: its wait for the copy's first idle moment would hold the
    // first disk's process while the copy extracts.
    if (!CreateProcessA(nullptr, cl.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        ConsoleLine(pid + " ==== SpanRelaunch: cannot start the copy: " + LastErrorText());
        DeleteFileA(copy.c_str());
        return false;
    }
    win::Handle process(pi.hProcess), thread(pi.hThread);
    return true;
}
