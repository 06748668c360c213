#include "stub/package/win_file_source.h"

namespace package {

Win32FileSource::Win32FileSource(const std::string& path)
    : file_(CreateFileA(
          path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
    LARGE_INTEGER size;
    if (file_ && GetFileSizeEx(file_.get(), &size)) {
        size_ = size.QuadPart;
    } else {
        file_.reset();
    }
}

size_t Win32FileSource::ReadAt(uint64_t offset, void* buf, size_t n) {
    if (!file_ || n == 0 || offset >= uint64_t(size_)) return 0;
    size_t done = 0;
    while (done < n) {
        // ReadFile takes a 32-bit count; the offset goes in through OVERLAPPED.
        DWORD want = DWORD(n - done > 0x40000000 ? 0x40000000 : n - done);
        OVERLAPPED ov{};
        uint64_t at = offset + done;
        ov.Offset = DWORD(at);
        ov.OffsetHigh = DWORD(at >> 32);
        DWORD got = 0;
        if (!ReadFile(file_.get(), static_cast<char*>(buf) + done, want, &got, &ov) || got == 0)
            break;
        done += got;
    }
    return done;
}

TGFileInfo ReadPackageInfo(const std::string& path) {
    Win32FileSource src(path);
    if (!src.IsOpen()) return TGFileInfo();
    return TGFileInfo(src);
}

} // namespace package
