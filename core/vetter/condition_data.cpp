#include "core/vetter/condition_data.h"

#include <cstring>

namespace vetter {

bool GetQuotedArgument(const char* data, const char* key, char* out, std::size_t outSize) {
    if (!data || !key || !out || outSize == 0 || !*data) return false;
    const char* at = std::strstr(data, key);
    if (!at) return false;
    const char* open = std::strchr(at, '"');
    if (!open) return false;
    const char* value = open + 1;
    // The work buffer holds 511 bytes of the rest; the closing quote must be among them.
    std::size_t avail = std::strlen(value);
    if (avail > kOutSize - 1) avail = kOutSize - 1;
    const void* close = std::memchr(value, '"', avail);
    if (!close) return false;
    std::size_t len = static_cast<const char*>(close) - value;
    if (len > outSize - 1) len = outSize - 1;
    std::memcpy(out, value, len);
    out[len] = '\0';
    return true;
}

char* TrimField(char* text) {
    if (!text) return nullptr;
    std::size_t len = 0;
    for (char* p = text; *p; ++p, ++len) {
        if (*p == '"' || *p == '\t' || *p == '\n') *p = ' ';
    }
    while (len > 0 && text[len - 1] == ' ')
        text[--len] = '\0';
    while (*text == ' ')
        ++text;
    return text;
}

void CopyCut(char* out, std::size_t outSize, const char* text) {
    if (!out || outSize == 0) return;
    std::size_t len = text ? std::strlen(text) : 0;
    if (len > outSize - 1) len = outSize - 1;
    if (len) std::memcpy(out, text, len);
    out[len] = '\0';
}

} // namespace vetter
