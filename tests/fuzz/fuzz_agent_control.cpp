// The agent's outside inputs: the peer option, the copy's options, control
// codes and values from other processes, and notice files.
#include "core/agent/agent_control.h"
#include "core/agent/update_rules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int64_t code = in.ConsumeIntegral<int64_t>();
    const int64_t value = in.ConsumeIntegral<int64_t>();
    const std::string peer = in.ConsumeRandomLengthString(64);
    const std::string transient = in.ConsumeRandomLengthString(64);
    const std::string content = in.ConsumeRemainingBytesAsString();

    agent::PeerTarget t = agent::PeerTargetOf(peer);
    Check(t.list.size() == peer.size() + 2);
    agent::ControlCode c = agent::ControlCodeOf(code);
    Check((c.action == agent::ControlAction::Override) == (c.overrideIndex >= 0));
    Check(agent::ControlValueOf(value) == static_cast<int32_t>(agent::ControlValueOf(value)));
    Check(agent::CopyArguments(transient, "").size() <= transient.size() + 13);

    const std::string text = agent::NoticeText(content);
    Check(text.size() <= content.size());
    Check(content.compare(content.size() - text.size(), text.size(), text) == 0);
    return 0;
}
