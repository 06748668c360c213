#pragma once
// Text rules shared by the identity sources: the blank test, the
// virtual-machine names, field cleaning and bounded copies into the plug-in's
// fixed output buffers.

#include <cstddef>
#include <string>

namespace identity {

// Every plug-in text output is a caller buffer of this size.
constexpr size_t kOutputSize = 512;
// Texts this long or shorter count as blank when they hold blanks only.
constexpr size_t kBlankLimit = 30;

// Empty, or blanks only and at most 30 of them.
bool IsBlank(const char* text);
// A source value is taken only when it has a first byte and is not blank.
bool IsUsableValue(const char* text);

// Case-sensitive prefixes "Virtual Machine", "VMware Virtual Platform", "HVM";
// board values also accept "440BX".
bool IsVirtualMachineName(const std::string& text, bool boardValue);

// Quotes, tabs and line feeds become blanks, trailing blanks are cut and the
// text starts at its first non-blank byte.
std::string CleanField(const std::string& text);
// The same in place on a field of at most `size` bytes; the field is always
// NUL-terminated within its size afterwards.
void CleanFieldInPlace(char* field, size_t size);

// Copies at most size - 1 bytes and a NUL; nothing when out is null or size 0.
void CopyBounded(char* out, size_t size, const std::string& text);
inline void CopyToOutput(char* out, const std::string& text) {
    CopyBounded(out, kOutputSize, text);
}

} // namespace identity
