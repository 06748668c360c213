#pragma once
// Unit Utils, registry and number-text part: root-key names, registry data as
// text, number texts in any base and the program's scrambled values.

#include <cstdint>
#include <string>

// Predefined root keys by their numeric codes (HKEY_CLASSES_ROOT ... ).
constexpr uint32_t kRootClassesRoot = 0x80000000u;
constexpr uint32_t kRootCurrentUser = 0x80000001u;
constexpr uint32_t kRootLocalMachine = 0x80000002u;
constexpr uint32_t kRootUsers = 0x80000003u;
constexpr uint32_t kRootCurrentConfig = 0x80000005u;
constexpr uint32_t kRootDynData = 0x80000006u;

// "HKLM" or "HKEY_LOCAL_MACHINE" (any case); HKEY_CURRENT_USER otherwise.
uint32_t RootKeyCodeOf(const std::string& rootName);
// Root and subkey of "HKLM\Software\X"; a path not led by HK is under HKCU.
uint32_t SplitRegPathOf(const std::string& path, std::string& subkey);

// Registry data as text: a 4-byte REG_DWORD in unsigned decimal, a
// REG_MULTI_SZ with "<0>" between its strings, anything else up to byte 0.
std::string RegDataText(uint32_t type, const std::string& data);

// Digits from "0123456789ABCDEF" (any case, surrounding blanks ignored); any
// other byte gives def, an empty text 0. Overflow wraps as 64-bit arithmetic.
int64_t StrToIntBase(const std::string& text, int base, int64_t def);
// Base 16, with or without a leading "0x".
int64_t HexToInt64(const std::string& text, int64_t def);

// A text led by "Scrambled=01" and a key byte is unscrambled; any other text
// comes back unchanged.
std::string Unscramble(const std::string& text);
