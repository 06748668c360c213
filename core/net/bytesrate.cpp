#include "core/net/bytesrate.h"

#include "core/util/numbers.h"

#include <cstdio>

namespace net {

namespace {

// Drops the oldest sample and appends value.
void Shift(uint32_t (&window)[kRateSamples], uint32_t value) {
    for (int i = 0; i + 1 < kRateSamples; ++i)
        window[i] = window[i + 1];
    window[kRateSamples - 1] = value;
}

} // namespace

std::string FormatAmount(uint32_t value, uint32_t unit) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.1f", double(value) / double(unit ? unit : 1));
    return InsertThousands(buf);
}

TBytesRate::TBytesRate(bool showKB, bool showMB, TickSource tick)
    : ShowKB(showKB), ShowMB(showMB), tick_(tick) {
    Reset();
}

void TBytesRate::Reset() {
    for (int i = 0; i < kRateSamples; ++i)
        times_[i] = bytes_[i] = 0;
    RateText.clear();
    lastShown_ = 0;
}

std::string TBytesRate::Rate(uint32_t sampleBytes) {
    uint32_t now = tick_ ? tick_() : 0;
    Shift(times_, now);
    int32_t span = int32_t(now - times_[0]);
    Shift(bytes_, sampleBytes);
    uint32_t sum = 0;
    for (int i = 1; i < kRateSamples; ++i)
        sum += bytes_[i];
    int32_t amount = int32_t(sum);
    if (times_[0] != 0 && span != 0 && now - lastShown_ > kRateRefreshMs) {
        lastShown_ = now;
        double rate = double(amount) / (double(span) / 1000.0) / 1024.0;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.2f", rate);
        RateText = buf;
    }
    return RateText;
}

std::string TBytesRate::Text(uint32_t total, uint32_t done, uint32_t sampleBytes) {
    std::string text;
    if (ShowMB) {
        text = FormatAmount(done, kMegaByte) + "/" + FormatAmount(total, kMegaByte) + " MB";
    } else if (ShowKB) {
        text = FormatAmount(done, kKiloByte) + "/" + FormatAmount(total, kKiloByte) + " KB";
    } else {
        text = std::to_string(done) + "/" + std::to_string(total) + " BytesArr";
    }
    std::string rate = Rate(sampleBytes);
    if (!rate.empty()) text += "   -   " + rate + " KB/Sec";
    return text;
}

} // namespace net
