#include "core/net/http_download.h"

#include "core/util/text.h"

#include <algorithm>

std::uint32_t DownloadChunkSize(std::uint32_t contentLength) {
    return std::clamp<std::uint32_t>(contentLength / 10, 1, kDownloadBufferSize);
}

std::int32_t DownloadProgressCount(std::uint32_t contentLength, std::uint32_t chunk) {
    if (chunk == 0) return 1;
    // Integer form of Ceil(real division): no rounding error near 2^32.
    const std::uint64_t steps = (std::uint64_t{contentLength} + chunk - 1) / chunk;
    return static_cast<std::int32_t>(steps + 1);
}

std::string TempDownloadFileName(const std::string& target, std::uint32_t contentLength,
                                 std::uint32_t stamp) {
    const std::uint32_t n = contentLength + stamp; // wraps modulo 2^32
    return target + "." + std::to_string(n);
}

bool IsOldDownloadFile(const std::string& targetName, const std::string& name) {
    if (name.size() <= targetName.size() + 1) return false;
    if (name[targetName.size()] != '.') return false;
    return SameText(name.substr(0, targetName.size()), targetName);
}

namespace {
bool ValidDay(int year, int month, int day) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1) return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= last;
}
} // namespace

std::uint32_t PackedFileDate(const DateTimeParts& p) {
    if (p.year < 1980 || p.year > 2107 || !ValidDay(p.year, p.month, p.day)) return 0;
    if (p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 ||
        p.second > 59 || p.msec < 0 || p.msec > 999)
        return 0;
    const std::uint32_t date = (static_cast<std::uint32_t>(p.year - 1980) << 9) |
                               (static_cast<std::uint32_t>(p.month) << 5) |
                               static_cast<std::uint32_t>(p.day);
    const std::uint32_t time = (static_cast<std::uint32_t>(p.hour) << 11) |
                               (static_cast<std::uint32_t>(p.minute) << 5) |
                               static_cast<std::uint32_t>(p.second / 2);
    return (date << 16) | time;
}
