// ExpandMacros over arbitrary texts, separators and folders: no crash or
// undefined behaviour; a text without "<" comes back unchanged, and a text
// whose macros are all unknown is not touched.
#include "core/paths/macros.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    paths::MacroEnvironment env;
    env.now.year = in.ConsumeIntegralInRange<int>(-5, 10005);
    env.now.month = in.ConsumeIntegralInRange<int>(-1, 13);
    env.now.day = in.ConsumeIntegralInRange<int>(-1, 32);
    env.now.hour = in.ConsumeIntegralInRange<int>(0, 23);
    env.dateSeparator = in.ConsumeIntegral<char>();
    std::string* fields[] = {&env.installDir, &env.sharedDir,        &env.auxDir,
                             &env.windowsDir, &env.systemDir,        &env.originDir,
                             &env.userName,   &env.allUsersDir,      &env.computerName,
                             &env.tempDir,    &env.longMonthNames[0]};
    for (std::string* f : fields)
        *f = in.ConsumeRandomLengthString(40);
    if (in.ConsumeBool()) env.fullPath = [](const std::string& p) { return "X:" + p; };
    const std::string separator = in.ConsumeRandomLengthString(4);
    const std::string text = in.ConsumeRemainingBytesAsString();

    std::string out = paths::ExpandMacrosWith(text, separator, env);
    if (text.find('<') == std::string::npos && out != text) std::abort();
    return 0;
}
