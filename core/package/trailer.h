#pragma once
// Locating and reading the trailer that ends the package data, and the
// check value computed over the package file.
#include "core/package/byte_source.h"
#include "core/package/format.h"

namespace package {

// "MZ" at 0 and "PE" at the fixed offset 256.
bool IsExecutableImage(ByteSource& src);
// The 64-bit end pointer at 248 (high) / 252 (low); 0 when absent or not an image.
uint64_t ReadPackageEndPointer(ByteSource& src);
// The offset where the package data ends: the end pointer of an image when it is
// non-zero and lies inside the file, otherwise the file size.
uint64_t PackageEnd(ByteSource& src);

// Fills rec from the trailer that ends the package data. Returns false and
// leaves rec all zero when no trailer can be read: no file, a trailer size
// below 4 or beyond the package end. On success the size field holds the
// trailer size read and a block count of 0 reads as 2.
bool ReadTrailer(ByteSource& src, PackageTrailer& rec);

// The check value of a package file whose trailer is trailerSize bytes long.
uint32_t ComputeCheckValue(ByteSource& src, uint32_t trailerSize);
inline bool CheckValuePasses(uint32_t computed, uint32_t stored) {
    return computed == stored || computed == kUncheckedValue || stored == kUncheckedValue;
}

} // namespace package
