#include "core/util/pathtext.h"

#include "core/util/text.h"

#include <algorithm>

namespace {

bool IsLead(LeadByteTest isLead, char c) {
    return isLead != nullptr && isLead(static_cast<unsigned char>(c));
}

// Drops one final backslash when the path is at least minLength bytes long
// and the backslash is not the second byte of a two-byte character.
std::string DropFinalSlash(const std::string& path, size_t minLength, LeadByteTest isLead) {
    if (path.size() >= minLength && path.back() == '\\' &&
        !(path.size() >= 2 && IsLead(isLead, path[path.size() - 2])))
        return path.substr(0, path.size() - 1);
    return path;
}

} // namespace

std::string PathSlashOf(const std::string& path, bool withSlash, LeadByteTest isLead) {
    if (path.empty()) return path;
    std::string p = DropFinalSlash(path, 3, isLead);
    if (withSlash && p.back() != '\\') p += '\\';
    return p;
}

std::string CleanPathOf(const std::string& path, bool dropSlash, LeadByteTest isLead) {
    std::string p = path;
    if (p.size() > 2) {
        const char first = p.front();
        const char last = p.back();
        std::string rest = p.substr(1);
        // 1-based positions p and p + 1 of rest, from the end backwards; the
        // last byte of rest never starts a pair.
        for (size_t pos = rest.size() >= 2 ? rest.size() - 2 : 0; pos >= 2; --pos) {
            if (pos + 1 > rest.size()) continue;
            const char before = rest[pos - 2];
            if (rest[pos - 1] == '\\' && rest[pos] == '\\' && !IsLead(isLead, before) &&
                !(first == last && before == first))
                rest.erase(pos - 1, 1);
        }
        if (rest.compare(0, 2, "\\\\") == 0) rest.erase(0, 1);
        p = first + rest;
    }
    if (dropSlash) {
        if (p == "\\") return std::string();
        p = DropFinalSlash(p, 2, isLead);
    }
    return p;
}

std::string FileBaseName(const std::string& path, bool allExtensions) {
    const size_t cut = path.find_last_of("\\/:");
    std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    const size_t dot = allExtensions ? name.find('.') : name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

std::string DriveRootOf(const std::string& path) {
    if (path.empty()) return std::string();
    return std::string(1, UpperChar(path[0])) + ":\\";
}

std::string DiskFreeQueryPath(const std::string& path, bool extendedQuery) {
    const std::string p = ReplaceChar(path, '/', '\\');
    if (p.empty()) return p;
    if (!extendedQuery || p.size() < 3) return DriveRootOf(p);
    const size_t cut = p.find('\\', 3);
    return cut == std::string::npos ? p : p.substr(0, cut);
}

std::string SelfDeleteScript(const std::string& exe, const std::string& folder,
                             const std::string& batch, const std::string& quote,
                             bool removeFolder) {
    const std::string q = quote;
    std::string s = ":START\r\n";
    s += "DEL " + q + exe + q + "\r\n";
    s += "IF exist " + q + exe + q + " GOTO START\r\n";
    if (removeFolder) s += "RD " + q + folder + q + "\r\n";
    s += "DEL " + q + batch + q + "\r\n";
    return s;
}

size_t WriteChunkSize(size_t length) {
    const size_t tenth = length / 10;
    if (tenth > 1024) return std::min<size_t>(tenth, 1048576);
    return std::min<size_t>(1024, length);
}
