#pragma once
// Number and world-wide-name texts of the FC inventory.

#include <cstdint>
#include <string>

namespace fc {

// "10:00:00:00:C9:12:34:56"; "invalid" for a null name.
std::string FormatWWN(const uint8_t* wwn8);

// string2int: the process-ending case is a result the Windows layer acts on
// (perror("strtoul") with ERANGE, then exit code 1).
struct String2IntResult {
    bool outOfRange = false;
    int value = -1;
};
// Cuts line feeds and blanks off the end of `text` in place; then an optional
// "-" (or "+") after leading blanks, an optional "0x" in base 16 (or 0), and
// digits to the end. Empty, no digits or any other byte: -1. Values beyond
// 32 bits are out of range. Bases other than 0 and 2..36: -1.
String2IntResult String2Int(char* text, int base);

} // namespace fc
