#pragma once
// Random-access reads of a package file. The format code reads through this
// interface so that the stub can feed it Win32 file reads and the tool stdio.
#include <cstdint>
#include <cstdio>
#include <string>

namespace package {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Size in bytes, or -1 when unknown (no file).
    virtual int64_t Size() = 0;
    // Reads up to n bytes at offset into buf; returns the count read (0 past the end).
    virtual size_t ReadAt(uint64_t offset, void* buf, size_t n) = 0;

    // Reads up to n bytes at offset; fewer when the source ends earlier.
    std::string Read(uint64_t offset, size_t n);
    // True when exactly n bytes were read.
    bool ReadExact(uint64_t offset, void* buf, size_t n) { return ReadAt(offset, buf, n) == n; }
};

class MemorySource : public ByteSource {
  public:
    explicit MemorySource(std::string data) : data_(std::move(data)) {}
    int64_t Size() override { return int64_t(data_.size()); }
    size_t ReadAt(uint64_t offset, void* buf, size_t n) override;

  private:
    std::string data_;
};

// A file read through stdio with 64-bit offsets; Size() is -1 when it could not be opened.
class StdFileSource : public ByteSource {
  public:
    explicit StdFileSource(const std::string& path);
    ~StdFileSource() override;
    StdFileSource(const StdFileSource&) = delete;
    StdFileSource& operator=(const StdFileSource&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    int64_t Size() override { return size_; }
    size_t ReadAt(uint64_t offset, void* buf, size_t n) override;

  private:
    std::FILE* file_ = nullptr;
    int64_t size_ = -1;
};

} // namespace package
