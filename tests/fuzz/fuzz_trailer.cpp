// Any bytes as a package file: locating and reading the trailer, the header
// blocks and the check value must stay in bounds.
#include "core/package/tgfileinfo.h"
#include "core/package/trailer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    package::MemorySource src(std::string(reinterpret_cast<const char*>(data), size));
    package::TGFileInfo info(src);
    const package::PackageTrailer& t = info.Trailer();
    if (t.MagicMatches() && info.LanguageBlock().size() > size) __builtin_trap();
    (void)package::ComputeCheckValue(src, t.Size());
    (void)package::PackageEnd(src);
    (void)info.LocalDescriptorName();
    (void)info.SpaceRequiredForCluster(4096);
    return 0;
}
