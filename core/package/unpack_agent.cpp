#include "core/package/unpack_agent.h"

#include "core/package/format.h"
#include "core/package/trailer.h"

#include <cctype>

namespace package {

namespace {
bool EndsWithNoCase(const std::string& s, const char* tail) {
    size_t n = std::char_traits<char>::length(tail);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - n + i])) != tail[i]) return false;
    return true;
}
} // namespace

bool IsAgentCopySource(const std::string& packagePath) {
    return EndsWithNoCase(packagePath, ".exe") || EndsWithNoCase(packagePath, ".exe.001");
}

std::string MakeAgentCopy(ByteSource& src, uint64_t payloadStart) {
    PackageTrailer rec;
    if (!ReadTrailer(src, rec)) return std::string();
    int64_t size = src.Size();
    if (size < 0 || payloadStart > uint64_t(size)) return std::string();
    std::string copy = src.Read(0, size_t(payloadStart));
    if (copy.size() != payloadStart) return std::string();
    // An image shorter than the pointer field has nothing there to clear.
    if (copy.size() >= kEndPointerLowOffset + 4)
        PutLE32(reinterpret_cast<uint8_t*>(&copy[kEndPointerLowOffset]), 0);
    rec.SetByte(field::kIsAgent, 1);
    rec.SetU32(field::kSize, kTrailerSize);
    return copy + rec.ToString();
}

} // namespace package
