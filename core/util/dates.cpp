#include "core/util/dates.h"

#include "core/util/ksub.h"
#include "core/util/numbers.h"

#include <cmath>
#include <cstdint>
#include <ctime>

namespace {

const char kMonths[] = "||JAN|FEB|MAR|APR|MAY|JUN|JUL|AUG|SEP|OCT|NOV|DEC|";
const int64_t kMsPerDay = 86400000;
// Serials of 1 January 0001 and 31 December 9999.
const int64_t kFirstDay = -693593;
const int64_t kLastDay = 2958465;
// Days from 1 March of year 0 (proleptic Gregorian) to 30 December 1899.
const int64_t kEpochShift = 693899;

// Gregorian calendar arithmetic on day numbers counted from 1 March 0000.
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

void CivilFromDays(int64_t z, DateTimeParts& p) {
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    p.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    p.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    p.year = static_cast<int>(yoe + era * 400 + (p.month <= 2));
}

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

bool Resolve(double t, DateTimeParts& parts) {
    if (t == kNowTime) t = NowSerial();
    return DecodeDateTime(t, parts);
}

std::string Two(int n) {
    return IntToZeroPad(n, 2);
}

} // namespace

bool EncodeDateTime(const DateTimeParts& p, double& serial) {
    if (p.year < 1 || p.year > 9999 || p.month < 1 || p.month > 12 || p.day < 1 ||
        p.day > DaysInMonth(p.year, p.month) || p.hour < 0 || p.hour > 23 || p.minute < 0 ||
        p.minute > 59 || p.second < 0 || p.second > 59 || p.msec < 0 || p.msec > 999)
        return false;
    double days = static_cast<double>(DaysFromCivil(p.year, p.month, p.day) - kEpochShift);
    double time = (((p.hour * 60.0 + p.minute) * 60.0 + p.second) * 1000.0 + p.msec) / kMsPerDay;
    // Before the epoch the fraction still counts forward from midnight.
    serial = days >= 0 ? days + time : days - time;
    return true;
}

bool DecodeDateTime(double serial, DateTimeParts& p) {
    if (!std::isfinite(serial) || serial < kFirstDay - 1 || serial > kLastDay + 1) return false;
    int64_t ms = std::llround(serial * kMsPerDay);
    int64_t days = ms / kMsPerDay;
    int64_t time = (ms < 0 ? -ms : ms) % kMsPerDay;
    if (days < kFirstDay || days > kLastDay) return false;
    CivilFromDays(days + kEpochShift, p);
    p.hour = static_cast<int>(time / 3600000);
    p.minute = static_cast<int>(time / 60000 % 60);
    p.second = static_cast<int>(time / 1000 % 60);
    p.msec = static_cast<int>(time % 1000);
    return true;
}

double NowSerial() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &now) != 0) return 0;
#else
    if (!localtime_r(&now, &local)) return 0;
#endif
    DateTimeParts p;
    p.year = local.tm_year + 1900;
    p.month = local.tm_mon + 1;
    p.day = local.tm_mday;
    p.hour = local.tm_hour;
    p.minute = local.tm_min;
    // A leap second is shown as the last second of its minute.
    p.second = local.tm_sec > 59 ? 59 : local.tm_sec;
    double serial = 0;
    return EncodeDateTime(p, serial) ? serial : 0;
}

std::string DateText(double t) {
    DateTimeParts p;
    if (!Resolve(t, p)) return std::string();
    return Two(p.day) + "-" + SUB::Get(kMonths, p.month, "") + "-" + IntToZeroPad(p.year, 4);
}

std::string DateTimeText(const std::string& separator, double t) {
    DateTimeParts p;
    if (!Resolve(t, p)) return std::string();
    return Two(p.day) + "-" + SUB::Get(kMonths, p.month, "") + "-" + IntToZeroPad(p.year, 4) +
           separator + Two(p.hour) + ":" + Two(p.minute) + ":" + Two(p.second);
}

std::string TimeStamp(double t, char dateSeparator, char timeSeparator) {
    DateTimeParts p;
    if (!Resolve(t, p)) return std::string();
    return Two(p.day) + dateSeparator + Two(p.month) + dateSeparator + Two(p.year % 100) + " " +
           Two(p.hour) + timeSeparator + Two(p.minute) + timeSeparator + Two(p.second);
}
