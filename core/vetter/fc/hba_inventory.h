#pragma once
// The FC inventory over an abstract HBA library, and the forwarding of the
// library's entry points with the answers the loader gives for missing ones.
// CHbaApi (Windows) derives from HbaForwarder and adds the loading.

#include "core/vetter/fc/fc_records.h"
#include "core/vetter/fc/hba_types.h"

#include <cstddef>
#include <functional>

namespace fc {

constexpr int kInventoryOk = 0;
constexpr int kInventoryNoLibrary = 53;
constexpr int kInventoryNoMemory = 54;

// Buffers of the inventory's requests.
constexpr size_t kAdapterNameSize = 256;
constexpr size_t kInquiryResponseSize = 256;
constexpr size_t kInquirySenseSize = 32;

class HbaLibrary {
  public:
    virtual ~HbaLibrary() = default;
    virtual bool Open() = 0;
    virtual void Close() = 0;
    virtual void RefreshAdapterConfiguration() = 0;
    virtual HBA_UINT32 GetNumberOfAdapters() = 0;
    virtual HBA_STATUS GetAdapterName(HBA_UINT32 index, char* name) = 0;
    virtual HBA_HANDLE OpenAdapter(char* name) = 0;
    virtual void CloseAdapter(HBA_HANDLE handle) = 0;
    virtual void RefreshInformation(HBA_HANDLE handle) = 0;
    virtual HBA_STATUS GetAdapterAttributes(HBA_HANDLE handle, HBA_ADAPTERATTRIBUTES* a) = 0;
    virtual HBA_STATUS GetAdapterPortAttributes(HBA_HANDLE handle, HBA_UINT32 port,
                                                HBA_PORTATTRIBUTES* p) = 0;
    virtual HBA_STATUS GetDiscoveredPortAttributes(HBA_HANDLE handle, HBA_UINT32 port,
                                                   HBA_UINT32 discovered,
                                                   HBA_PORTATTRIBUTES* p) = 0;
    virtual HBA_STATUS GetRNIDMgmtInfo(HBA_HANDLE handle, HBA_MGMTINFO* info) = 0;
    virtual HBA_STATUS SendScsiInquiry(HBA_HANDLE handle, HBA_WWN portWWN, HBA_UINT64 lun,
                                       uint8_t evpd, HBA_UINT32 page, void* rsp, HBA_UINT32 rspSize,
                                       void* sense, HBA_UINT32 senseSize) = 0;
};

struct InventoryLists {
    fc_ctrl_info*** controllers;
    size_t* controllerCount;
    fc_scsi_inquiry*** inquiries;
    size_t* inquiryCount;
};

// Get_FC_Ctrl_Peripherals: 0, 53 (library not opened) or 54 (out of memory;
// the records made so far stay listed). An exception closes the library: 0.
int TakeInventory(HbaLibrary& library, const InventoryLists& lists, const Allocation& a = {});

// The entry points found in the library (any may be null).
struct HbaFunctions {
    HBA_GetVersionFunc getVersion = nullptr;
    HBA_GetNumberOfAdaptersFunc getNumberOfAdapters = nullptr;
    HBA_GetAdapterNameFunc getAdapterName = nullptr;
    HBA_OpenAdapterFunc openAdapter = nullptr;
    HBA_CloseAdapterFunc closeAdapter = nullptr;
    HBA_GetAdapterAttributesFunc getAdapterAttributes = nullptr;
    HBA_GetAdapterPortAttributesFunc getAdapterPortAttributes = nullptr;
    HBA_GetDiscoveredPortAttributesFunc getDiscoveredPortAttributes = nullptr;
    HBA_GetRNIDMgmtInfoFunc getRNIDMgmtInfo = nullptr;
    HBA_RefreshAdapterConfigurationFunc refreshAdapterConfiguration = nullptr;
    HBA_RefreshInformationFunc refreshInformation = nullptr;
    HBA_SendScsiInquiryFunc sendScsiInquiry = nullptr;
};

// Diagnostic texts of CHbaApi and their levels.
struct HbaMessage {
    int level;
    const char* text;
};
extern const HbaMessage kMsgOpen, kMsgSystemPath, kMsgLibVersion, kMsgLoadFailed, kMsgClose,
    kMsgGetAdapterName, kMsgOpenAdapter, kMsgCloseAdapter, kMsgRefreshConfig, kMsgRefreshInfo,
    kMsgNoGetNumberOfAdapters, kMsgNoGetAdapterName, kMsgNoOpenAdapter, kMsgNoGetAdapterAttributes,
    kMsgNoGetAdapterPortAttributes, kMsgNoGetDiscoveredPortAttributes, kMsgNoGetRNIDMgmtInfo,
    kMsgNoSendScsiInquiry;

// Forwards to the functions found; a missing one answers 0 adapters, status
// 1, handle 0, or does nothing, and reports its "undefined" message.
class HbaForwarder : public HbaLibrary {
  public:
    using Log = std::function<void(const HbaMessage& message, const char* formatted)>;
    explicit HbaForwarder(Log log = nullptr) : log_(std::move(log)) {}

    void SetFunctions(const HbaFunctions& f) { functions_ = f; }
    const HbaFunctions& Functions() const { return functions_; }

    void RefreshAdapterConfiguration() override;
    HBA_UINT32 GetNumberOfAdapters() override;
    HBA_STATUS GetAdapterName(HBA_UINT32 index, char* name) override;
    HBA_HANDLE OpenAdapter(char* name) override;
    void CloseAdapter(HBA_HANDLE handle) override;
    void RefreshInformation(HBA_HANDLE handle) override;
    HBA_STATUS GetAdapterAttributes(HBA_HANDLE handle, HBA_ADAPTERATTRIBUTES* a) override;
    HBA_STATUS GetAdapterPortAttributes(HBA_HANDLE handle, HBA_UINT32 port,
                                        HBA_PORTATTRIBUTES* p) override;
    HBA_STATUS GetDiscoveredPortAttributes(HBA_HANDLE handle, HBA_UINT32 port,
                                           HBA_UINT32 discovered, HBA_PORTATTRIBUTES* p) override;
    HBA_STATUS GetRNIDMgmtInfo(HBA_HANDLE handle, HBA_MGMTINFO* info) override;
    HBA_STATUS SendScsiInquiry(HBA_HANDLE handle, HBA_WWN portWWN, HBA_UINT64 lun, uint8_t evpd,
                               HBA_UINT32 page, void* rsp, HBA_UINT32 rspSize, void* sense,
                               HBA_UINT32 senseSize) override;

  protected:
    void Report(const HbaMessage& m, const char* formatted = nullptr) const;

  private:
    HbaFunctions functions_;
    Log log_;
};

} // namespace fc
