#include "core/package/byte_source.h"

#include <cstring>

namespace package {

namespace {
bool SeekTo(std::FILE* f, uint64_t offset) {
#ifdef _WIN32
    return _fseeki64(f, int64_t(offset), SEEK_SET) == 0;
#else
    return fseeko(f, off_t(offset), SEEK_SET) == 0;
#endif
}
int64_t TellEnd(std::FILE* f) {
#ifdef _WIN32
    if (_fseeki64(f, 0, SEEK_END) != 0) return -1;
    return _ftelli64(f);
#else
    if (fseeko(f, 0, SEEK_END) != 0) return -1;
    return int64_t(ftello(f));
#endif
}
} // namespace

std::string ByteSource::Read(uint64_t offset, size_t n) {
    std::string out(n, '\0');
    out.resize(n ? ReadAt(offset, &out[0], n) : 0);
    return out;
}

size_t MemorySource::ReadAt(uint64_t offset, void* buf, size_t n) {
    if (offset >= data_.size()) return 0;
    size_t avail = data_.size() - size_t(offset);
    if (n > avail) n = avail;
    std::memcpy(buf, data_.data() + offset, n);
    return n;
}

StdFileSource::StdFileSource(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (file_) size_ = TellEnd(file_);
    if (size_ < 0 && file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

StdFileSource::~StdFileSource() {
    if (file_) std::fclose(file_);
}

size_t StdFileSource::ReadAt(uint64_t offset, void* buf, size_t n) {
    if (!file_ || n == 0 || int64_t(offset) >= size_ || !SeekTo(file_, offset)) return 0;
    return std::fread(buf, 1, n, file_);
}

} // namespace package
