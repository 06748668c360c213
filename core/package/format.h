#pragma once
// The package appended to a stub image: the fixed-size records, their offsets
// and the little-endian field access that every reader and writer shares.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace package {

// Offsets in the stub image's DOS-header area.
constexpr uint64_t kImageMarkOffset = 0;     // "MZ"
constexpr uint64_t kPeSignatureOffset = 256; // "PE", fixed: the reader does not follow e_lfanew
constexpr uint64_t kEndPointerHighOffset = 248;
constexpr uint64_t kEndPointerLowOffset = 252;
// A signed image's checked range starts after the headers that signing changes.
constexpr uint64_t kCheckSkip = 512;

constexpr uint32_t kTrailerMagic = 0x4A3B2C1D;
constexpr uint32_t kTrailerSize = 74;
constexpr uint32_t kUncheckedValue = 1234;
constexpr uint64_t kCheckedFileLimit = 51200;
constexpr int kSpaceValueCount = 9;

// Field offsets inside the 74-byte trailer.
namespace field {
constexpr size_t kBlockCount = 1;
constexpr size_t kPackageStart = 4;
constexpr size_t kFileCount = 8;
constexpr size_t kMagic = 12;
constexpr size_t kCheckValue = 16;
constexpr size_t kSpaceRequired = 28;
constexpr size_t kFlags = 65;
constexpr size_t kWebDownload = 66;
constexpr size_t kAskDownload = 67;
constexpr size_t kWriteAgentCopy = 68;
constexpr size_t kIsAgent = 69;
constexpr size_t kSize = 70;
} // namespace field
static_assert(field::kSpaceRequired + 4 * kSpaceValueCount == 64, "space values end at 64");
static_assert(field::kSize + 4 == kTrailerSize, "the size field ends the trailer");

// Bits of trailer byte 65.
namespace flag {
constexpr uint8_t kAlwaysShowSpace = 1 << 0;
constexpr uint8_t kMorePartsFollow = 1 << 1;
constexpr uint8_t kFirstDisk = 1 << 2;
constexpr uint8_t kActivityBar = 1 << 3;
constexpr uint8_t kTraceLog = 1 << 4;
} // namespace flag

// Header block order and the items of the parameter and download blocks.
constexpr int kMinHeaderBlocks = 2;
constexpr int kMaxHeaderBlocks = 3;
constexpr char kLanguageListDelimiter = '\x02';
constexpr char kLanguageEntryDelimiter = '\x01';

inline uint32_t GetLE32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void PutLE32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}
inline void AppendLE32(std::string& out, uint32_t v) {
    uint8_t b[4];
    PutLE32(b, v);
    out.append(reinterpret_cast<const char*>(b), 4);
}

// The 74-byte trailer record, kept as bytes so that unknown and reserved
// fields survive a read-modify-write unchanged.
class PackageTrailer {
  public:
    std::array<uint8_t, kTrailerSize> bytes{};

    void Clear() { bytes.fill(0); }
    uint8_t Byte(size_t offset) const { return bytes[offset]; }
    void SetByte(size_t offset, uint8_t v) { bytes[offset] = v; }
    uint32_t U32(size_t offset) const { return GetLE32(&bytes[offset]); }
    void SetU32(size_t offset, uint32_t v) { PutLE32(&bytes[offset], v); }

    int BlockCount() const { return bytes[field::kBlockCount]; }
    uint32_t PackageStart() const { return U32(field::kPackageStart); }
    uint32_t FileCount() const { return U32(field::kFileCount); }
    uint32_t Magic() const { return U32(field::kMagic); }
    bool MagicMatches() const { return Magic() == kTrailerMagic; }
    uint32_t CheckValue() const { return U32(field::kCheckValue); }
    uint32_t SpaceValue(int i) const { return U32(field::kSpaceRequired + 4 * size_t(i)); }
    void SetSpaceValue(int i, uint32_t v) { SetU32(field::kSpaceRequired + 4 * size_t(i), v); }
    uint8_t Flags() const { return bytes[field::kFlags]; }
    bool Flag(uint8_t bit) const { return (bytes[field::kFlags] & bit) != 0; }
    void SetFlag(uint8_t bit, bool on) {
        bytes[field::kFlags] =
            uint8_t(on ? (bytes[field::kFlags] | bit) : (bytes[field::kFlags] & ~bit));
    }
    uint32_t Size() const { return U32(field::kSize); }

    std::string ToString() const { return std::string(bytes.begin(), bytes.end()); }
};

} // namespace package
