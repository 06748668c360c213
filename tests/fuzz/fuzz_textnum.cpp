// Number and date conversions and the replace engine on arbitrary text.
#include "core/util/dates.h"
#include "core/util/numbers.h"
#include "core/util/text.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
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
    const std::string oldText = in.ConsumeRandomLengthString(8);
    const std::string newText = in.ConsumeRandomLengthString(8);
    const int first = in.ConsumeIntegralInRange<int>(-2, 8);
    const int last = in.ConsumeIntegralInRange<int>(-2, 8);
    const int width = in.ConsumeIntegralInRange<int>(-40, 40);
    const int decimals = in.ConsumeIntegralInRange<int>(-2, 25);
    const double serial = in.ConsumeFloatingPoint<double>();
    const std::string text = in.ConsumeRemainingBytesAsString();

    int64_t n = TextToInt64(text, 42);
    if (n != 42) Check(TextToInt64(std::to_string(n), 0) == n);
    double f = TextToFloat(text, 0.5);
    Check(std::isfinite(f));
    (void)FloatToFixed(f, decimals, true, ',');
    (void)FloatToFixed(serial, decimals, decimals % 2 == 0);
    (void)InsertThousands(text);
    (void)TrimZeros(text);
    std::string padded = PadLeft(text, width, ' ');
    if (width < -2)
        Check(padded.size() == static_cast<size_t>(-width) || text.size() == padded.size());

    std::string once = ReplaceOccurrences(text, oldText, newText, first, last, first % 2 == 0);
    if (!oldText.empty() && first <= 0 && last <= 0 && first % 2 != 0)
        Check(once == ReplaceText(text, oldText, newText));
    std::string repeated = ReplaceRepeated(text, oldText, newText);
    if (!oldText.empty() && newText.size() < oldText.size())
        Check(repeated.find(oldText) == std::string::npos);
    (void)ReplaceTextNoCase(text, oldText, newText);
    (void)PosFrom(oldText, text, first, last % 2 == 0);
    (void)LastPos(oldText, text);
    (void)StripChar(text, oldText.empty() ? '"' : oldText[0], first % 2 == 0);
    (void)Unquote(text, true);

    DateTimeParts parts;
    if (DecodeDateTime(serial, parts)) {
        double back = 0;
        Check(EncodeDateTime(parts, back));
        Check(DateText(serial).size() == 11);
        Check(TimeStamp(serial).size() == 17);
    } else if (serial != kNowTime) {
        Check(DateText(serial).empty());
    }
    return 0;
}
