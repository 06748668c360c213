#include "core/vetter/identity/id_text.h"

#include <cstring>

namespace identity {

bool IsBlank(const char* text) {
    if (!text) return true;
    size_t n = 0;
    for (; text[n] != '\0'; ++n) {
        if (text[n] != ' ' || n >= kBlankLimit) return false;
    }
    return true;
}

bool IsUsableValue(const char* text) {
    return text && text[0] != '\0' && !IsBlank(text);
}

bool IsVirtualMachineName(const std::string& text, bool boardValue) {
    static const char* const kNames[] = {"Virtual Machine", "VMware Virtual Platform", "HVM"};
    for (const char* name : kNames) {
        if (text.compare(0, std::strlen(name), name) == 0) return true;
    }
    return boardValue && text.compare(0, 5, "440BX") == 0;
}

std::string CleanField(const std::string& text) {
    std::string s = text;
    for (char& c : s) {
        if (c == '"' || c == '\t' || c == '\n') c = ' ';
    }
    size_t end = s.find_last_not_of(' ');
    if (end == std::string::npos) return std::string();
    size_t begin = s.find_first_not_of(' ');
    return s.substr(begin, end - begin + 1);
}

void CleanFieldInPlace(char* field, size_t size) {
    if (!field || size == 0) return;
    size_t len = 0;
    while (len < size && field[len] != '\0')
        ++len;
    if (len == size) len = size - 1; // an unterminated field loses its last byte
    std::string cleaned = CleanField(std::string(field, len));
    std::memset(field, 0, size);
    std::memcpy(field, cleaned.data(), cleaned.size());
}

void CopyBounded(char* out, size_t size, const std::string& text) {
    if (!out || size == 0) return;
    size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

} // namespace identity
