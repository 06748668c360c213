#pragma once
// The stub's reads of package files through the Win32 file API.
#include "core/package/byte_source.h"
#include "core/package/tgfileinfo.h"
#include "stub/util/handles.h"

#include <string>

namespace package {

// A file opened read-only with reading, writing and deletion shared.
class Win32FileSource : public ByteSource {
  public:
    explicit Win32FileSource(const std::string& path);
    bool IsOpen() const { return static_cast<bool>(file_); }
    int64_t Size() override { return size_; }
    size_t ReadAt(uint64_t offset, void* buf, size_t n) override;
    HANDLE Handle() const { return file_.get(); }

  private:
    win::File file_;
    int64_t size_ = -1;
};

// TGFileInfo of a package file; an empty object when the file cannot be
// opened. The file is closed again before this returns.
TGFileInfo ReadPackageInfo(const std::string& path);

} // namespace package
