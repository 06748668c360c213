#include "core/package/trailer.h"

#include <vector>

namespace package {

bool IsExecutableImage(ByteSource& src) {
    uint8_t mz[2], pe[2];
    return src.ReadExact(kImageMarkOffset, mz, 2) && mz[0] == 'M' && mz[1] == 'Z' &&
           src.ReadExact(kPeSignatureOffset, pe, 2) && pe[0] == 'P' && pe[1] == 'E';
}

uint64_t ReadPackageEndPointer(ByteSource& src) {
    if (!IsExecutableImage(src)) return 0;
    uint8_t b[8];
    if (!src.ReadExact(kEndPointerHighOffset, b, 8)) return 0;
    return uint64_t(GetLE32(b)) << 32 | GetLE32(b + 4);
}

uint64_t PackageEnd(ByteSource& src) {
    int64_t size = src.Size();
    if (size < 0) return 0;
    uint64_t ptr = ReadPackageEndPointer(src);
    // A pointer past the file end cannot be the end of data that is there;
    // the file is then read as an unsigned one.
    if (ptr != 0 && ptr <= uint64_t(size)) return ptr;
    return uint64_t(size);
}

bool ReadTrailer(ByteSource& src, PackageTrailer& rec) {
    rec.Clear();
    uint64_t end = PackageEnd(src);
    uint8_t sizeBytes[4];
    if (end < 4 || !src.ReadExact(end - 4, sizeBytes, 4)) return false;
    uint32_t t = GetLE32(sizeBytes);
    if (t < 4 || t > end) return false;
    size_t want = (t < kTrailerSize ? t : kTrailerSize) - 4;
    if (src.ReadAt(end - t, rec.bytes.data(), want) != want) {
        rec.Clear();
        return false;
    }
    rec.SetU32(field::kSize, t);
    if (rec.Byte(field::kBlockCount) == 0) rec.SetByte(field::kBlockCount, kMinHeaderBlocks);
    return true;
}

uint32_t ComputeCheckValue(ByteSource& src, uint32_t trailerSize) {
    int64_t size = src.Size();
    if (size < 0 || uint64_t(size) > kCheckedFileLimit) return kUncheckedValue;
    int64_t e = size;
    bool image = IsExecutableImage(src);
    uint32_t low = 0;
    if (image) {
        uint8_t b[4];
        if (src.ReadExact(kEndPointerLowOffset, b, 4)) low = GetLE32(b);
        if (low != 0) e = low;
    }
    int64_t r = e - int64_t(trailerSize);
    uint64_t pos = 0;
    if (low != 0) {
        r -= int64_t(kCheckSkip);
        pos = kCheckSkip;
    }
    uint32_t sum = 0;
    std::vector<uint8_t> block(4096);
    for (;;) {
        size_t got = src.ReadAt(pos, block.data(), block.size());
        pos += got;
        for (size_t i = 0; i + 4 <= got; i += 4) {
            r -= 4;
            if (r > 4) sum += GetLE32(&block[i]);
        }
        if (r > 4) sum += kUncheckedValue;
        if (got < block.size()) break;
    }
    return sum;
}

} // namespace package
