#include "core/vetter/fc/fc_text.h"

#include <cstdio>
#include <cstring>

namespace fc {

std::string FormatWWN(const uint8_t* w) {
    if (!w) return "invalid";
    char buf[32];
    std::snprintf(buf, sizeof(buf), "%02X:%02X:%02X:%02X:%02X:%02X:%02X:%02X", w[0], w[1], w[2],
                  w[3], w[4], w[5], w[6], w[7]);
    return buf;
}

namespace {

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

String2IntResult String2Int(char* text, int base) {
    String2IntResult r;
    if (!text) return r;
    size_t len = std::strlen(text);
    while (len > 0 && (text[len - 1] == '\n' || text[len - 1] == ' '))
        text[--len] = '\0';
    if (len == 0 || base < 0 || base == 1 || base > 36) return r;

    const char* p = text;
    while (IsSpace(*p))
        ++p;
    bool negative = false;
    if (*p == '-') {
        negative = true;
        ++p;
    } else if (*p == '+') {
        ++p;
    }
    bool hexPrefix = p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && DigitValue(p[2]) < 16;
    if ((base == 16 || base == 0) && hexPrefix) {
        p += 2;
        base = 16;
    } else if (base == 0) {
        base = p[0] == '0' ? 8 : 10;
    }
    if (*p == '\0') return r;
    uint64_t value = 0;
    for (; *p; ++p) {
        int d = DigitValue(*p);
        if (d >= base) return r;
        value = value * unsigned(base) + unsigned(d);
        if (value > 0xFFFFFFFFull) {
            // strtoul's range error ends the conversion; the digits that
            // follow do not matter.
            r.outOfRange = true;
            return r;
        }
    }
    uint32_t v = uint32_t(value);
    if (negative) v = 0u - v;
    r.value = int32_t(v);
    return r;
}

} // namespace fc
