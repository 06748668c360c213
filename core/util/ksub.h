#pragma once
// Unit KSUB: the delimited list. A list is a byte string whose first byte is
// the delimiter and which ends with it ("|&OK|&Cancel|"); items are numbered
// from 0. Every operation is a pure function: arguments are never changed and
// malformed input yields 0, the default, or an unchanged or empty list.

#include <cstdint>
#include <string>
#include <vector>

class SUB {
  public:
    SUB() = delete;

    // Number of items; 0 unless the list is at least 2 bytes long and ends
    // with its first byte. Scanning stops at the first byte 0.
    static int Count(const std::string& list);

    // Item `index` (-1 = last); `def` when missing or empty. Stops at byte 0.
    static std::string Get(const std::string& list, int index, const std::string& def = "");
    static int64_t GetInt64(const std::string& list, int index, int64_t def);

    // Index of the item equal to (or, with `prefix`, beginning with) `item`,
    // case-insensitively, tried as given and trimmed; `def` when absent.
    static int IndexOf(const std::string& list, const std::string& item, bool prefix, int def = -1);
    static bool Contains(const std::string& list, const std::string& item, bool trim,
                         bool ignoreCase);

    // Value of the first key=value item with that key (case-insensitive).
    static std::string GetValue(const std::string& list, const std::string& key,
                                const std::string& defMissing = "",
                                const std::string& defEmpty = "");

    static std::string Keys(const std::string& list);
    static std::string Values(const std::string& list);
    static void SplitPairs(const std::string& list, std::string& keys, std::string& values);
    static std::string JoinPairs(const std::string& keys, const std::string& values,
                                 bool trimEmpty);

    static std::string Delete(const std::string& list, int index);
    // May come back with another delimiter when the value contains the old one.
    static std::string Put(const std::string& list, int index, const std::string& value);
    static std::string FromArray(const std::vector<std::string>& items, bool unique);
    static std::string Add(const std::string& list, const std::vector<std::string>& items,
                           bool unique);
    static std::string Reverse(const std::string& list);
    static std::string Unique(const std::string& list);
    static std::string TrimEmpty(const std::string& list, bool fromEnd, bool fromStart);

    // Gives the list the first of the candidate delimiters that no item uses
    // (byte 0 when all ten are used).
    static std::string Redelimit(const std::string& list);
    static std::string SetDelimiter(const std::string& list, char ch);

    // Candidate delimiters, in order of preference.
    static const char kCandidates[10];
};
