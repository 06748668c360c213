#pragma once
// Small hand-made package files for the format tests.
#include "core/package/format.h"

#include <string>

namespace fixtures {

// A minimal stub image: "MZ", "PE" at 256, zeros at 248..255, padded to size.
inline std::string StubImage(size_t size = 1024) {
    std::string img(size, '\0');
    img[0] = 'M';
    img[1] = 'Z';
    img[256] = 'P';
    img[257] = 'E';
    for (size_t i = 512; i < size; ++i)
        img[i] = char(i * 7);
    return img;
}

inline std::string Block(const std::string& text) {
    std::string out;
    package::AppendLE32(out, uint32_t(text.size()));
    return out + text;
}

// A trailer with the magic, the given block count and package start.
inline package::PackageTrailer Trailer(uint8_t blocks, uint32_t start) {
    package::PackageTrailer t;
    t.SetByte(package::field::kBlockCount, blocks);
    t.SetU32(package::field::kPackageStart, start);
    t.SetU32(package::field::kMagic, package::kTrailerMagic);
    t.SetU32(package::field::kSize, package::kTrailerSize);
    return t;
}

inline void SetEndPointer(std::string& file, uint64_t end) {
    package::PutLE32(reinterpret_cast<uint8_t*>(&file[248]), uint32_t(end >> 32));
    package::PutLE32(reinterpret_cast<uint8_t*>(&file[252]), uint32_t(end));
}

// Image + the given header blocks + payload bytes + trailer.
inline std::string Package(const std::string& blocks, const std::string& payload = "",
                           uint8_t blockCount = 2) {
    std::string f = StubImage();
    package::PackageTrailer t = Trailer(blockCount, uint32_t(f.size()));
    f += blocks + payload;
    f += t.ToString();
    return f;
}

} // namespace fixtures
