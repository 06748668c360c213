#pragma once
// Unit Utils, text part: replace, search, trim and quote helpers over ANSI
// byte strings. Positions are 1-based; 0 means "not found". Case-insensitive
// means ASCII letters only are folded; other bytes compare as they are.

#include <string>

// ASCII a..z upper-cased; every other byte unchanged.
char UpperChar(char c);
std::string UpperCase(const std::string& text);
bool SameText(const std::string& a, const std::string& b);

// Removes leading and/or trailing bytes of value 0x20 or less.
std::string Trim(const std::string& text);
std::string TrimLeft(const std::string& text);
std::string TrimRight(const std::string& text);

// One left-to-right pass; occurrences numbered from 1 are replaced only when
// their number lies in first..last (last <= 0: first; both <= 0: all).
std::string ReplaceOccurrences(const std::string& text, const std::string& oldText,
                               const std::string& newText, int first, int last, bool ignoreCase);
std::string ReplaceText(const std::string& text, const std::string& oldText,
                        const std::string& newText);
std::string ReplaceTextNoCase(const std::string& text, const std::string& oldText,
                              const std::string& newText);
// Searches again from the start after each replacement; does nothing when
// newText contains oldText.
std::string ReplaceRepeated(const std::string& text, const std::string& oldText,
                            const std::string& newText);

int Pos(const std::string& sub, const std::string& text);
int PosNoCase(const std::string& sub, const std::string& text);
int PosFrom(const std::string& sub, const std::string& text, int start, bool ignoreCase = true);
int LastPos(const std::string& sub, const std::string& text);
bool StartsWith(const std::string& prefix, const std::string& text, bool ignoreCase);
bool EndsWith(const std::string& suffix, const std::string& text, bool ignoreCase);
bool SameTextTrim(const std::string& a, const std::string& b);

// The part before / after the first separator; def when it is absent.
std::string LeftOf(const std::string& text, const std::string& separator, const std::string& def,
                   bool trim);
std::string RightOf(const std::string& text, const std::string& separator, const std::string& def,
                    bool trim);

std::string ReplaceChar(const std::string& text, char from, char to);
std::string ReverseText(const std::string& text);

std::string StripChar(const std::string& text, char ch, bool always);
std::string Unquote(const std::string& text, bool always);
std::string Quote(const std::string& text);
std::string Enclose(const std::string& text, char ch, bool stripFirst);
std::string KeepChars(const std::string& text, const std::string& allowed);

// Debug-channel line formats.
std::string FourFieldLine(const std::string& a, const std::string& b, const std::string& c,
                          const std::string& d);
std::string ExceptionLine(const std::string& location, const std::string& extra,
                          const std::string& message);
