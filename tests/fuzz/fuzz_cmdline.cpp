// The option reader on arbitrary command lines, program paths and names.
#include "core/util/cmdline.h"
#include "core/util/numbers.h"
#include "core/util/text.h"

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
    const std::string exe = in.ConsumeRandomLengthString(128);
    const std::string name = in.ConsumeRandomLengthString(32);
    const std::string word = in.ConsumeRandomLengthString(32);
    const std::string commandLine = in.ConsumeRemainingBytesAsString();

    const std::string tail = CommandTailOf(commandLine, exe);
    Check(tail == Trim(tail));
    Check(tail.size() <= commandLine.size());

    const std::string list = CmdOptionList(tail, name.empty() ? '/' : name[0]);
    Check(list.size() >= 2 && list.front() == '\x01' && list.back() == '\x01');

    const std::string value = GetCmdValueOf(tail, name, "<default>");
    if (value != "<default>") {
        Check(value == Trim(value));
        Check(value.find('"') == std::string::npos);
    }
    Check(GetCmdIntOf(tail, name, -1) == TextToInt64(GetCmdValueOf(tail, name, ""), -1));

    if (Trim(word).empty())
        Check(!HasCmdWordOf(tail, word));
    else
        (void)HasCmdWordOf(tail, word);
    return 0;
}
