// Version texts from condition data and the registry: parsing any bytes must
// be safe and the comparison a total order.
#include "core/vetter/winver.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    size_t cut = text.find('|');
    std::string a = text.substr(0, cut);
    std::string b = cut == std::string::npos ? std::string() : text.substr(cut + 1);
    vetter::WinVersion va = vetter::ParseWinVersion(a.c_str());
    vetter::WinVersion vb = vetter::ParseWinVersion(b.c_str());
    int ab = vetter::CompareWinVersion(va, vb);
    int ba = vetter::CompareWinVersion(vb, va);
    if ((ab > 0) != (ba < 0) || (ab == 0) != (ba == 0)) __builtin_trap();
    if (vetter::CompareWinVersion(va, va) != 0) __builtin_trap();
    return 0;
}
