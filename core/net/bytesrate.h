#pragma once
// Unit CommUtils, rate part: the running amount and transfer-rate text of a
// download. The clock is passed in so the rules can be tested with set ticks.
#include <cstdint>
#include <string>

namespace net {

// Milliseconds since system start, wrapping at 2^32.
using TickSource = uint32_t (*)();

constexpr int kRateSamples = 5;
// The rate text is recomputed at most this often.
constexpr uint32_t kRateRefreshMs = 500;
constexpr uint32_t kKiloByte = 1024;
constexpr uint32_t kMegaByte = 1048576;

// value / unit with one decimal and thousands commas ("1,953.1").
std::string FormatAmount(uint32_t value, uint32_t unit);

class TBytesRate {
  public:
    TBytesRate(bool showKB, bool showMB, TickSource tick);

    void Reset();
    // Records a sample of sampleBytes and returns the rate text ("245.67"),
    // empty until the fifth sample.
    std::string Rate(uint32_t sampleBytes);
    // "done/total MB" (or KB, or "done/total BytesArr"), with
    // "   -   rate KB/Sec" once a rate is known. Call once per chunk read.
    std::string Text(uint32_t total, uint32_t done, uint32_t sampleBytes);

    bool ShowKB = false;
    bool ShowMB = false;
    std::string RateText;

  private:
    TickSource tick_;
    uint32_t times_[kRateSamples] = {};
    uint32_t bytes_[kRateSamples] = {};
    uint32_t lastShown_ = 0;
};

} // namespace net
