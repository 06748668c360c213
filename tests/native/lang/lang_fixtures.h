#pragma once
// Language blocks as stubpack writes them: 0x02, then per language 0x01, its
// name, 0x01, each key=value pair followed by 0x01, and a closing 0x02.
#include <string>
#include <utility>
#include <vector>

namespace langfixtures {

using Pairs = std::vector<std::string>;

inline std::string Entry(const std::string& name, const Pairs& pairs) {
    std::string e = "\x01" + name + "\x01";
    for (const std::string& p : pairs)
        e += p + "\x01";
    return e;
}

inline std::string Block(const std::vector<std::pair<std::string, Pairs>>& languages) {
    std::string b = "\x02";
    for (const auto& l : languages)
        b += Entry(l.first, l.second) + "\x02";
    return b;
}

} // namespace langfixtures
