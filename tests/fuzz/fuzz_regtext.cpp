// Registry texts, number bases, scrambled values, version keys and path texts
// on arbitrary bytes.
#include "core/util/pathtext.h"
#include "core/util/regtext.h"
#include "core/util/versionkey.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool OddLead(unsigned char c) {
    return c >= 0x81 && c <= 0x9F;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const uint32_t type = in.ConsumeIntegralInRange<uint32_t>(0, 11);
    const int base = in.ConsumeIntegralInRange<int>(-2, 40);
    const int width = in.ConsumeIntegralInRange<int>(-3, 12);
    const int count = in.ConsumeIntegralInRange<int>(-1, 8);
    const bool flag = in.ConsumeBool();
    const std::string text = in.ConsumeRemainingBytesAsString();

    Check(RegDataText(type, text).size() <= text.size() * 3);
    StrToIntBase(text, base, 0);
    HexToInt64(text, 0);
    std::string subkey;
    SplitRegPathOf(text, subkey);
    Check(subkey.size() <= text.size());

    const std::string plain = Unscramble(text);
    Check(plain.size() <= text.size());
    if (plain.size() != text.size()) Check(plain.size() == text.size() - 13);

    const std::string key = VersionKey(text, width, count);
    Check(key.find_first_not_of("0123456789.") == std::string::npos);

    const std::string slashed = PathSlashOf(text, flag, OddLead);
    Check(slashed.size() <= text.size() + 1);
    Check(CleanPathOf(text, flag, OddLead).size() <= text.size());
    Check(CleanPathOf(text, flag, nullptr).size() <= text.size());
    FileBaseName(text, flag);
    Check(DiskFreeQueryPath(text, flag).size() <= text.size() + 2);
    return 0;
}
