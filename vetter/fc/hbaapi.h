#pragma once
// CHbaApi: "HbaApi.dll" loaded by name, its entry points looked up once and
// forwarded, with the levelled diagnostic messages on standard error.
#include "core/vetter/fc/hba_inventory.h"

#include "stub/util/handles.h"

#include <windows.h>

namespace vetter {

class CHbaApi : public fc::HbaForwarder {
  public:
    CHbaApi();
    ~CHbaApi() override { Close(); }
    CHbaApi(const CHbaApi&) = delete;
    CHbaApi& operator=(const CHbaApi&) = delete;

    // With a folder, that folder's "HbaApi.dll" first; else, or when that
    // fails, the system's search path. True when a library is loaded.
    bool Open(const char* folder);
    bool Open() override { return Open(nullptr); }
    void Close() override;
    DWORD LastLoadError() const { return loadError_; }
    HBA_UINT32 LibraryVersion() const { return version_; }

  private:
    void LookUp();

    win::Module library_;
    DWORD loadError_ = 0;
    HBA_UINT32 version_ = 0;
};

} // namespace vetter
