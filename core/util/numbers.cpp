#include "core/util/numbers.h"

#include "core/util/text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>

int64_t TextToInt64(const std::string& text, int64_t def) {
    std::string t = Trim(text);
    if (t.empty()) return def;
    size_t i = 0;
    bool negative = false;
    if (t[0] == '+' || t[0] == '-') {
        negative = t[0] == '-';
        i = 1;
    }
    if (i == t.size()) return def;
    // Accumulate as a negative number so that INT64_MIN fits.
    int64_t value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return def;
        int digit = t[i] - '0';
        if (value < (INT64_MIN + digit) / 10) return def;
        value = value * 10 - digit;
    }
    if (!negative) {
        if (value == INT64_MIN) return def;
        value = -value;
    }
    return value;
}

std::string ZeroPad(const std::string& text, int width) {
    if (width <= 0 || text.size() >= static_cast<size_t>(width)) return text;
    return std::string(static_cast<size_t>(width) - text.size(), '0') + text;
}

std::string IntToZeroPad(int64_t number, int width) {
    std::string digits = std::to_string(number);
    // The sign stays in front of the zeros.
    if (number < 0) return "-" + ZeroPad(digits.substr(1), width - 1);
    return ZeroPad(digits, width);
}

std::string PadLeft(const std::string& text, int width, char fill) {
    std::string t = text;
    if (width < -2) {
        width = -width;
        if (t.size() > static_cast<size_t>(width))
            t = t.substr(0, static_cast<size_t>(width) - 1) + ".";
    }
    if (width <= 0 || t.size() >= static_cast<size_t>(width)) return t;
    return std::string(static_cast<size_t>(width) - t.size(), fill) + t;
}

std::string InsertThousands(const std::string& numberText) {
    size_t end = numberText.find('.');
    if (end == std::string::npos) end = numberText.size();
    size_t firstDigit = 0;
    while (firstDigit < end && (numberText[firstDigit] < '0' || numberText[firstDigit] > '9'))
        ++firstDigit;
    std::string out = numberText;
    for (size_t at = end; at >= firstDigit + 4; at -= 3)
        out.insert(at - 3, 1, ',');
    return out;
}

std::string TrimZeros(const std::string& numberText) {
    if (numberText.find('.') == std::string::npos) return numberText;
    std::string t = StripChar(numberText, '0', true);
    if (!t.empty() && t[0] != '.') t = StripChar(t, '.', true);
    return t;
}

std::string FloatToFixed(double value, int decimals, bool trimZeros, char decimalSeparator) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (decimals < 0) decimals = 0;
    if (decimals > 18) decimals = 18;
    char buf[400];
    int n = std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof buf) return std::string();
    std::string text(buf, static_cast<size_t>(n));
    // A value that rounds to zero is written without a sign.
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    if (decimalSeparator != '.') text = ReplaceChar(text, '.', decimalSeparator);
    if (trimZeros) text = TrimZeros(text);
    return text == "." ? "0" : text;
}

namespace {

// Sign, digits with at most one point, optional exponent: the English
// (United States) number format without grouping.
bool IsPlainNumber(const std::string& t) {
    size_t i = 0, digits = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
        ++digits;
    if (i < t.size() && t[i] == '.')
        for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
            ++digits;
    if (digits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        size_t expDigits = 0;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
            ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == t.size();
}

} // namespace

double TextToFloat(const std::string& text, double def) {
    std::string t = text;
    // Without a point a comma is the decimal separator; with one, commas
    // group thousands.
    if (t.find('.') == std::string::npos) t = ReplaceChar(t, ',', '.');
    std::string plain;
    for (char c : t)
        if (c != ',') plain += c;
    plain = Trim(plain);
    if (!IsPlainNumber(plain)) return def;
    const char* b = plain.data();
    const char* e = b + plain.size();
    if (*b == '+') ++b;
    double value = 0;
    std::from_chars_result r = std::from_chars(b, e, value);
    if (r.ec != std::errc() || r.ptr != e || !std::isfinite(value)) return def;
    return value;
}

int RandomBetween(int low, int high) {
    if (high < low) {
        int t = low;
        low = high;
        high = t;
    }
    std::random_device seed;
    std::mt19937 gen(seed());
    std::uniform_int_distribution<int> dist(low, high);
    return dist(gen);
}

std::string RandomText(int low, int high) {
    return std::to_string(RandomBetween(low, high));
}

std::string BoolText(bool b) {
    return b ? "TRUE" : "FALSE";
}

char BoolChar(bool b) {
    return b ? '1' : '0';
}

int WaitPumpingStep(int step, int ms) {
    if (step != 0) return step;
    step = ms / 10;
    return step < 1 ? 1 : (step > 25 ? 25 : step);
}
