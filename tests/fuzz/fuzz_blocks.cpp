// Bytes as the header-block area of a package whose trailer is valid: block
// lengths, the block count and every accessor over the block texts.
#include "core/package/tgfileinfo.h"
#include "core/package/format.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);
    package::PackageTrailer t;
    t.SetByte(package::field::kBlockCount, data[0] % 5);
    t.SetU32(package::field::kPackageStart, 0);
    t.SetU32(package::field::kMagic, package::kTrailerMagic);
    t.SetU32(package::field::kSize, package::kTrailerSize);
    file += t.ToString();
    package::MemorySource src(file);
    package::TGFileInfo info(src);
    for (const std::string* b :
         {&info.LanguageBlock(), &info.ParameterBlock(), &info.DownloadBlock()})
        if (b->size() > file.size()) __builtin_trap();
    (void)info.UpdateLocation();
    (void)info.DescriptorName();
    (void)info.LocalDescriptorName();
    (void)info.AgentName();
    (void)info.Token(true);
    (void)info.RunHidden();
    (void)info.DownloadSource();
    (void)info.SetupFileName();
    (void)info.AlwaysDownload();
    (void)info.DownloadToken();
    (void)info.SetupFileSize();
    if (info.SameDownloadToken(info) && info.DownloadToken().empty()) __builtin_trap();
    return 0;
}
