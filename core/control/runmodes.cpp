#include "core/control/runmodes.h"

#include "core/util/cmdline.h"
#include "core/util/pathtext.h"
#include "core/util/text.h"

namespace runmodes {
namespace {

std::string FileNameOf(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace

std::string WindowClassNameFor(bool isAgent, const std::string& exePath) {
    if (isAgent) return kAgentClassPrefix + FileBaseName(exePath, false);
    return exePath;
}

std::string XAgentClassName(const std::string& agentName) {
    return std::string(kAgentClassPrefix) + kAgentCopyPrefix + FileBaseName(Trim(agentName), false);
}

bool IsPlainAgentFile(bool isAgent, const std::string& exePath, const std::string& agentName) {
    return isAgent && SameTextTrim(FileNameOf(exePath), agentName);
}

bool IsXAgentFile(bool isAgent, const std::string& exePath, const std::string& agentName) {
    return isAgent && SameTextTrim(FileNameOf(exePath), kAgentCopyPrefix + Trim(agentName));
}

bool IsFirstSpanRunOf(bool firstDiskFlag, const std::string& commandTail) {
    return firstDiskFlag &&
           GetCmdIntOf(commandTail, kSpanLevelOption, kFirstSpanLevel) == kFirstSpanLevel;
}

bool IsSpanRelaunchOf(const std::string& commandTail) {
    return GetCmdIntOf(commandTail, kSpanLevelOption, kFirstSpanLevel) == kRelaunchSpanLevel;
}

} // namespace runmodes
