// Condition data texts come from the package definition: the key reader,
// the argument cleaner and the version rules must hold for any bytes.
#include "core/vetter/condition_data.h"
#include "core/vetter/products.h"
#include "core/vetter/winver.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    const char* keys[] = {"board", "chassis", "winminver", "winmaxver", "appname", "rivappname"};
    for (const char* key : keys) {
        char out[vetter::kOutSize];
        if (vetter::GetQuotedArgument(text.c_str(), key, out)) {
            if (std::strlen(out) >= sizeof out) __builtin_trap();
        }
        char small[7];
        if (vetter::GetQuotedArgument(text.c_str(), key, small, sizeof small) &&
            std::strlen(small) >= sizeof small)
            __builtin_trap();
    }
    std::string copy = text;
    char* cleaned = vetter::TrimField(&copy[0]);
    size_t n = std::strlen(cleaned);
    if (n && cleaned[n - 1] == ' ') __builtin_trap();
    if (cleaned < copy.data() || cleaned > copy.data() + copy.size()) __builtin_trap();

    vetter::IsValidWindowsRule(text.c_str(), [] { return vetter::ParseWinVersion("6.3.9600"); });
    vetter::RivalInstalled(text.c_str(), [](const char*) { return 0; });
    return 0;
}
