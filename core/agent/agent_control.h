#pragma once
// Rules of the agent's processes and control messages: the options the plain
// agent hands to its copy, the peer option, and the table of control codes
// that other programs send through the query message.
#include <cstdint>
#include <string>

namespace agent {

constexpr char kRestartOption[] = "/_ZZ=";
constexpr char kRestartModeValue[] = "99";
constexpr char kWaitOption[] = "/WAIT=";
constexpr char kTransientOption[] = "/TRANSIENT=";
constexpr char kDelayOption[] = "/DELAY=";
constexpr char kTransientOverridesOption[] = "/TRANSIENTx=";
constexpr char kCopySleepOption[] = "/SleepX=";
constexpr char kStopOption[] = "/STOP=";
constexpr char kPeerOption[] = "/WM_MSG=";
constexpr char kTestOption[] = "/TEST=";
// The copy's file name: this prefix and the plain agent's name.
constexpr char kCopyPrefix[] = "X_";
// How long the plain agent waits for its copy to appear.
constexpr int kCopyStartWaitMs = 3000;
constexpr int kCopyStartPollMs = 200;

// The control messages, as offsets from WM_USER.
constexpr unsigned kShutDownOffset = 99;
constexpr unsigned kLocalMsgOffset = 100;
constexpr unsigned kAgentMsgOffset = 101;

// The copy's command-line tail for the plain agent's "/TRANSIENT=" and
// "/DELAY=" values (empty: not given). Both are passed when both are given,
// so that overrides handed over in restart mode survive a delayed start.
std::string CopyArguments(const std::string& transient, const std::string& delay);

// "/WM_MSG=" value "window:number", both decimal; a missing or non-numeric
// part is 0.
struct PeerTarget {
    int64_t window = 0;
    int64_t number = 0;
    std::string list; // ":" + value + ":", as traced
};
PeerTarget PeerTargetOf(const std::string& value);

// What a control code of the query message does.
enum class ControlAction {
    None,
    Read,
    Write,
    Override,
    StopCountdown,
    ForceCheck,
    JustDownloadInfo
};
enum class ControlItem {
    None,
    VersionOriginal,
    VersionNew,
    AgentState,
    ProbeSecondsInterval,
    ReAskSecondsInterval,
    ProbeSecondsLast,
    ReAskSecondsLast,
};
struct ControlCode {
    ControlAction action = ControlAction::None;
    ControlItem item = ControlItem::None;
    int overrideIndex = -1; // an OverrideIndex for ControlAction::Override
};
ControlCode ControlCodeOf(int64_t code);

// Values travel as 32-bit numbers: a read gives the low 32 bits, a written
// value is the message value's low 32 bits sign-extended.
int32_t ControlResultOf(int64_t value);
int64_t ControlValueOf(int64_t messageValue);

// Code 31: the check comes at the next tick at the latest.
int32_t ForcedTimerCount(int32_t timerCount);
// The value of code 31 that makes the check a user-requested one.
constexpr int64_t kUserRequestedTest = 2;

} // namespace agent
