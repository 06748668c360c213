#include "tools/stubpack/args.h"

namespace stubpack {

Args::Args(int argc, char** argv, int first) {
    for (int i = first; i < argc; ++i)
        args_.push_back(argv[i]);
    used_.assign(args_.size(), false);
}

bool Args::Value(const std::string& name, std::string& out) {
    for (size_t i = 0; i < args_.size(); ++i) {
        if (used_[i]) continue;
        if (args_[i] == name && i + 1 < args_.size()) {
            used_[i] = used_[i + 1] = true;
            out = args_[i + 1];
            return true;
        }
        if (args_[i].compare(0, name.size() + 1, name + "=") == 0) {
            used_[i] = true;
            out = args_[i].substr(name.size() + 1);
            return true;
        }
    }
    return false;
}

std::vector<std::string> Args::Values(const std::string& name) {
    std::vector<std::string> out;
    std::string v;
    while (Value(name, v))
        out.push_back(v);
    return out;
}

bool Args::Flag(const std::string& name) {
    bool found = false;
    for (size_t i = 0; i < args_.size(); ++i)
        if (!used_[i] && args_[i] == name) used_[i] = found = true;
    return found;
}

std::vector<std::string> Args::Positional() {
    std::vector<std::string> out;
    for (size_t i = 0; i < args_.size(); ++i)
        if (!used_[i] && (args_[i].empty() || args_[i][0] != '-' || args_[i] == "-")) {
            used_[i] = true;
            out.push_back(args_[i]);
        }
    return out;
}

std::string Args::Leftover() const {
    for (size_t i = 0; i < args_.size(); ++i)
        if (!used_[i]) return "unknown or incomplete option: " + args_[i];
    return std::string();
}

bool ParseUInt(const std::string& text, uint64_t max, uint64_t& out) {
    if (text.empty() || text.size() > 20) return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        uint64_t d = uint64_t(c - '0');
        if (v > (max - d) / 10) return false;
        v = v * 10 + d;
    }
    out = v;
    return true;
}

bool ParseSize(const std::string& text, uint64_t& out) {
    if (text.empty()) return false;
    uint64_t unit = 1;
    std::string digits = text;
    switch (text.back()) {
    case 'K':
    case 'k':
        unit = 1ull << 10;
        break;
    case 'M':
    case 'm':
        unit = 1ull << 20;
        break;
    case 'G':
    case 'g':
        unit = 1ull << 30;
        break;
    default:
        break;
    }
    if (unit != 1) digits.pop_back();
    uint64_t v;
    if (!ParseUInt(digits, UINT64_MAX / unit, v)) return false;
    out = v * unit;
    return true;
}

} // namespace stubpack
