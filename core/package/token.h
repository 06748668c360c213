#pragma once
// The scrambled form in which secret tokens travel in the header blocks.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace package {

// The plain value hidden in a scrambled text, or nothing when the text is
// not a well-formed scrambled value (too short, wrong checksum, padding
// lengths that do not fit).
std::optional<std::string> RevealToken(const std::string& scrambled);

// The revealed value, or the decimal text of a random number from 0 to 99998
// when the text cannot be revealed (what the stub shows and passes on).
std::string RevealTokenText(const std::string& scrambled);

// True only when both texts reveal to the same non-empty value. Values that
// cannot be revealed never match, whatever their random stand-ins.
bool TokensMatch(const std::string& scrambledA, const std::string& scrambledB);

// Scrambles a plain value; randomByte supplies the key and padding bytes.
// Values of up to 15 bytes give the usual 40-character text.
std::string ScrambleToken(const std::string& plain, const std::function<uint8_t()>& randomByte);

} // namespace package
