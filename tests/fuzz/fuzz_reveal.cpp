// Any text as a scrambled token; and any bytes scrambled must reveal to themselves.
#include "core/package/token.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    auto revealed = package::RevealToken(text);
    if (revealed && revealed->size() + 4 > size / 2) __builtin_trap();
    if (!revealed && package::TokensMatch(text, text)) __builtin_trap();
    size_t i = 0;
    std::string s =
        package::ScrambleToken(text, [&] { return i < size ? data[i++] : uint8_t(i++); });
    auto back = package::RevealToken(s);
    if (!back || *back != text) __builtin_trap();
    return 0;
}
