#pragma once
// Size, chunk and file-name rules of the HTTP downloader (unit InetHTTP),
// free of Win32. Sizes and offsets are unsigned 32-bit: files of 4 GiB or more
// are not supported.

#include <cstdint>
#include <string>

#include "core/util/dates.h"

constexpr std::uint32_t kDownloadBufferSize = 8192;
// One value for every WinINet time-out of a download, in milliseconds.
constexpr std::uint32_t kHttpTimeoutMs = 180000;
// What the content-length query leaves when the header is missing.
constexpr std::uint32_t kUnknownContentLength = 0xFFFFFFFFu;
// Amounts are shown in KB above this many bytes, in MB above the second.
constexpr std::uint32_t kShowKBAbove = 102400;
constexpr std::uint32_t kShowMBAbove = 10485760;

// Bytes asked for per read: a tenth of the content length, clamped to 1..8192.
std::uint32_t DownloadChunkSize(std::uint32_t contentLength);
// Steps of the progress bar: Ceil(contentLength / chunk) + 1.
std::int32_t DownloadProgressCount(std::uint32_t contentLength, std::uint32_t chunk);
// target + "." + decimal of (contentLength + stamp) mod 2^32.
std::string TempDownloadFileName(const std::string& target, std::uint32_t contentLength,
                                 std::uint32_t stamp);
// True when name (a file name without folder) is targetName + "." + at least
// one more byte, compared case-insensitively: the files an earlier download
// of targetName may have left. The target itself never matches.
bool IsOldDownloadFile(const std::string& targetName, const std::string& name);
// The packed DOS date and time (date in the high word) of a date; 0 when the
// date is invalid or outside 1980..2107.
std::uint32_t PackedFileDate(const DateTimeParts& parts);
