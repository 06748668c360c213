// Tasklist output, name=pid lists and the command line of a captured run on
// arbitrary bytes.
#include "core/process/commandline.h"
#include "core/process/matching.h"
#include "core/process/tasklist.h"
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
    const std::string target = in.ConsumeRandomLengthString(64);
    const std::string parameters = in.ConsumeRandomLengthString(64);
    const std::string output = in.ConsumeRemainingBytesAsString();

    const uint32_t id = TasklistProcessId(output, target);
    if (id != 0) {
        // A found id is printed in a row named like the target's file name.
        bool seen = false;
        for (const TasklistRow& row : ParseTasklistCsv(output))
            seen = seen || (SameText(row.imageName, Trim(FileNamePart(Trim(target)))) &&
                            row.pid.find(std::to_string(id)) != std::string::npos);
        Check(seen);
    }
    for (const TasklistRow& row : ParseTasklistCsv(output)) {
        Check(row.imageName.find('"') == std::string::npos);
        Check(row.imageName.find('\n') == std::string::npos);
    }

    const uint32_t listed = IdFromNameList(output, target, [](const std::string& p) {
        return p.size() > 12 ? p.substr(0, 6) + "~1" : std::string();
    });
    Check(listed == 0 || output.find(std::to_string(listed)) != std::string::npos);

    const std::string line = BuildCommandLine(target, parameters);
    Check(line.size() >= target.size() + parameters.size());
    Check(LaunchErrorText(line, "e").size() <= 256 + 6 || line.size() > kMaxCommandLine);
    return 0;
}
