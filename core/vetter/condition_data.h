#pragma once
// Readers of the condition data texts the setup engine passes: key followed
// somewhere after it by a double-quoted value, and the argument cleaner.
#include <cstddef>

namespace vetter {

// Size of the work and output buffers of the plug-in's interface.
constexpr std::size_t kOutSize = 512;

// Value of `key` (plain, case-sensitive substring; first occurrence) between
// the next two double quotes. A value whose closing quote lies beyond the
// 512-byte work buffer counts as unterminated. Writes at most outSize bytes.
bool GetQuotedArgument(const char* data, const char* key, char* out,
                       std::size_t outSize = kOutSize);

// In place: double quotes, tabs and line feeds become blanks, trailing blanks
// are cut; returns the text from its first non-blank byte (null for null).
char* TrimField(char* text);

// Copies text into out (outSize > 0), cut to fit; always NUL-terminated.
void CopyCut(char* out, std::size_t outSize, const char* text);

} // namespace vetter
