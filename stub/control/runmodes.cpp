#include "stub/control/runmodes.h"

#include "core/control/runmodes.h"
#include "stub/control/entry.h"
#include "stub/util/paths.h"
#include "stub/util/utils.h"

#include <windows.h>

namespace runmodes {

bool X_ExeIsRunning() {
    const std::string cls = XAgentClassName(entry::PackageInfo().AgentName());
    return FindWindowA(cls.c_str(), nullptr) != nullptr;
}

bool ThisIs_Plain_AutoUpdate_Exe() {
    return IsPlainAgentFile(entry::IsAutoUpdateProg(), ExePath(false),
                            entry::PackageInfo().AgentName());
}

bool ThisIs_X_AutoUpdate_Exe() {
    return IsXAgentFile(entry::IsAutoUpdateProg(), ExePath(false),
                        entry::PackageInfo().AgentName());
}

bool IsFirstSpanRun() {
    return IsFirstSpanRunOf(entry::PackageInfo().IsFirstDisk(), CommandTail());
}

bool IsSpanRelaunch() {
    return IsSpanRelaunchOf(CommandTail());
}

} // namespace runmodes
