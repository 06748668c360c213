#include "core/agent/agent_control.h"

#include "core/agent/descriptor_rules.h"
#include "core/util/ksub.h"

namespace agent {

std::string CopyArguments(const std::string& transient, const std::string& delay) {
    std::string arguments;
    if (!transient.empty()) arguments += std::string(" ") + kTransientOverridesOption + transient;
    if (!delay.empty()) arguments += std::string(" ") + kCopySleepOption + delay;
    return arguments;
}

PeerTarget PeerTargetOf(const std::string& value) {
    PeerTarget target;
    target.list = ":" + value + ":";
    target.window = SUB::GetInt64(target.list, 0, 0);
    target.number = SUB::GetInt64(target.list, 1, 0);
    return target;
}

ControlCode ControlCodeOf(int64_t code) {
    using A = ControlAction;
    using I = ControlItem;
    struct Row {
        int64_t code;
        ControlCode what;
    };
    static const Row kTable[] = {
        {4, {A::Read, I::VersionOriginal, -1}},
        {5, {A::Read, I::VersionNew, -1}},
        {7, {A::Read, I::AgentState, -1}},
        {8, {A::Read, I::ProbeSecondsInterval, -1}},
        {9, {A::Read, I::ReAskSecondsInterval, -1}},
        {10, {A::Read, I::ProbeSecondsLast, -1}},
        {11, {A::Read, I::ReAskSecondsLast, -1}},
        {12, {A::Write, I::ProbeSecondsInterval, -1}},
        {13, {A::Write, I::ReAskSecondsInterval, -1}},
        {14, {A::Write, I::ProbeSecondsLast, -1}},
        {15, {A::Write, I::ReAskSecondsLast, -1}},
        {20, {A::Override, I::None, kConfirmBeforeCheck}},
        {21, {A::Override, I::None, kRequestConfirmationBeforeDownload}},
        {22, {A::Override, I::None, kRequestConfirmationBeforeInstall}},
        {23, {A::Override, I::None, kBackgroundUpdate}},
        {24, {A::Override, I::None, kInformFinish}},
        {25, {A::Override, I::None, kRestartProcess}},
        {30, {A::StopCountdown, I::None, -1}},
        {31, {A::ForceCheck, I::None, -1}},
        {32, {A::JustDownloadInfo, I::None, -1}},
    };
    for (const Row& row : kTable)
        if (row.code == code) return row.what;
    return ControlCode();
}

int32_t ControlResultOf(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

int64_t ControlValueOf(int64_t messageValue) {
    return ControlResultOf(messageValue);
}

int32_t ForcedTimerCount(int32_t timerCount) {
    return timerCount > 1 ? timerCount : 1;
}

} // namespace agent
