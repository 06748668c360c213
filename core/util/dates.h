#pragma once
// Unit Utils, date part. A time value is the system's date serial: days since
// 30 December 1899 00:00 local time, the fraction being the time of day.

#include <string>

// Passed as a time value: the current local time.
constexpr double kNowTime = -1.0;

struct DateTimeParts {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, msec = 0;
};

double NowSerial();
// Returns false for a date or time out of range (years 1..9999).
bool EncodeDateTime(const DateTimeParts& parts, double& serial);
bool DecodeDateTime(double serial, DateTimeParts& parts);

// "09-DEC-2026"; empty for a time value out of range.
std::string DateText(double t);
// DateText + separator + "HH:NN:SS".
std::string DateTimeText(const std::string& separator, double t);
// "dd/mm/yy HH:NN:SS" with the given separators in place of "/" and ":".
std::string TimeStamp(double t, char dateSeparator = '/', char timeSeparator = ':');
