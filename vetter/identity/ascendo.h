#pragma once
// The Ascendo registry values that carry the identifiers between runs.
#include <string>

namespace vetter {

// Sets a REG_SZ value under the Ascendo key (cut to 259 bytes and a NUL);
// 0, or 1 when the key cannot be opened or the value not set.
int WriteAscendoValue(const char* name, const std::string& text);
// Tests the key and creates it when missing; both results are ignored.
void EnsureAscendoKey();
// The same as WriteAscendoValue after EnsureAscendoKey.
int PublishAscendoValue(const char* name, const std::string& text);

} // namespace vetter
