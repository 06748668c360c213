#pragma once
// Unit Utils, number part: integer and decimal texts, booleans, random numbers.

#include <cstdint>
#include <string>

// Decimal 64-bit integer with optional sign; surrounding bytes <= 0x20 are
// ignored. Anything else (empty, other bytes, overflow) yields def.
int64_t TextToInt64(const std::string& text, int64_t def);

std::string ZeroPad(const std::string& text, int width);
std::string IntToZeroPad(int64_t number, int width);
// width < -2: texts longer than -width are cut to -width - 1 bytes plus ".",
// then padded to -width.
std::string PadLeft(const std::string& text, int width, char fill);
std::string InsertThousands(const std::string& numberText);
std::string TrimZeros(const std::string& numberText);
// decimalSeparator is the user's; the Windows layer passes the locale's.
std::string FloatToFixed(double value, int decimals, bool trimZeros, char decimalSeparator = '.');
double TextToFloat(const std::string& text, double def);

int RandomBetween(int low, int high);
std::string RandomText(int low, int high);

std::string BoolText(bool b);
char BoolChar(bool b);

// Sleep step of WaitPumping: step 0 means ms / 10, clamped to 1..25.
int WaitPumpingStep(int step, int ms);
