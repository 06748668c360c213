#include "core/vetter/fc/hba_inventory.h"

#include "core/vetter/identity/id_text.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace fc {

const HbaMessage kMsgOpen = {4, "\nCHbaApi             : Open"};
const HbaMessage kMsgSystemPath = {5, "\nCHbaApi             : loaded from System Path"};
const HbaMessage kMsgLibVersion = {4, "\nCHbaApi             : LIB Version %d"};
const HbaMessage kMsgLoadFailed = {3, "\nCHbaApi             : LOAD LIB FAILED %08X"};
const HbaMessage kMsgClose = {4, "\nCHbaApi             : Close"};
const HbaMessage kMsgGetAdapterName = {4, "\nCHbaApi GetAdaptName: Idx %d Buf %p"};
const HbaMessage kMsgOpenAdapter = {4, "\nCHbaApi             : OpenAdapter"};
const HbaMessage kMsgCloseAdapter = {4, "\nCHbaApi             : Close Adapter"};
const HbaMessage kMsgRefreshConfig = {4, "\nCHbaApi             : Refresh Adapter Config"};
const HbaMessage kMsgRefreshInfo = {4, "\nCHbaApi             : Refresh Info"};
const HbaMessage kMsgNoGetNumberOfAdapters = {
    4, "\nCHbaApi             : GetNumberOfAdapters undefined"};
const HbaMessage kMsgNoGetAdapterName = {4, "\nCHbaApi             : GetAdapterName undefined"};
const HbaMessage kMsgNoOpenAdapter = {4, "\nCHbaApi             : OpenAdapter undefined"};
const HbaMessage kMsgNoGetAdapterAttributes = {
    4, "\nCHbaApi             : GetAdapterAttributes undefined"};
const HbaMessage kMsgNoGetAdapterPortAttributes = {
    4, "\nCHbaApi             : GetAdapterPortAttributes undefined"};
const HbaMessage kMsgNoGetDiscoveredPortAttributes = {
    4, "\nCHbaApi             : GetDiscoveredPortAttributes undefined"};
const HbaMessage kMsgNoGetRNIDMgmtInfo = {4, "\nCHbaApi             : GetRNIDMgmtInfo undefined"};
const HbaMessage kMsgNoSendScsiInquiry = {4, "\nCHbaApi             :SendScsiInquiry undefined"};

namespace {

void CleanAdapterTexts(HBA_ADAPTERATTRIBUTES& a) {
    using identity::CleanFieldInPlace;
    CleanFieldInPlace(a.Manufacturer, sizeof(a.Manufacturer));
    CleanFieldInPlace(a.SerialNumber, sizeof(a.SerialNumber));
    CleanFieldInPlace(a.Model, sizeof(a.Model));
    CleanFieldInPlace(a.ModelDescription, sizeof(a.ModelDescription));
    CleanFieldInPlace(a.NodeSymbolicName, sizeof(a.NodeSymbolicName));
    CleanFieldInPlace(a.HardwareVersion, sizeof(a.HardwareVersion));
    CleanFieldInPlace(a.DriverVersion, sizeof(a.DriverVersion));
    CleanFieldInPlace(a.OptionROMVersion, sizeof(a.OptionROMVersion));
    CleanFieldInPlace(a.FirmwareVersion, sizeof(a.FirmwareVersion));
    CleanFieldInPlace(a.DriverName, sizeof(a.DriverName));
}

void FillController(fc_ctrl_info* c, const HBA_ADAPTERATTRIBUTES& a) {
    c->attributes = a;
    c->attributes.VendorSpecificID = 0;
    CleanAdapterTexts(c->attributes);
}

void FillPort(fc_port_info* p, const HBA_PORTATTRIBUTES& a) {
    p->attributes = a;
    std::memset(p->attributes.PortSupportedFc4Types, 0, sizeof(a.PortSupportedFc4Types));
    std::memset(p->attributes.PortActiveFc4Types, 0, sizeof(a.PortActiveFc4Types));
    identity::CleanFieldInPlace(p->attributes.PortSymbolicName, sizeof(a.PortSymbolicName));
    identity::CleanFieldInPlace(p->attributes.OSDeviceName, sizeof(a.OSDeviceName));
}

void FillInquiry(fc_scsi_inquiry* q, fc_ctrl_info* c, const uint8_t* rsp) {
    q->controller = c;
    std::memcpy(q->vendor, rsp + 8, 8);
    identity::CleanFieldInPlace(q->vendor, sizeof(q->vendor));
    std::memcpy(q->product, rsp + 16, 16);
    identity::CleanFieldInPlace(q->product, sizeof(q->product));
    std::memcpy(q->revision, rsp + 32, 4);
    identity::CleanFieldInPlace(q->revision, sizeof(q->revision));
}

struct OutOfRecords {};

// One adapter's ports, discovered ports and inquiries.
void ReadPorts(HbaLibrary& lib, HBA_HANDLE h, fc_ctrl_info* ctrl, const InventoryLists& lists,
               const Allocation& a) {
    fc_port_info* lastPort = nullptr;
    HBA_UINT32 ports = ctrl->attributes.NumberOfPorts;
    for (HBA_UINT32 p = 0; p < ports; ++p) {
        HBA_PORTATTRIBUTES pa;
        std::memset(&pa, 0, sizeof(pa));
        if (lib.GetAdapterPortAttributes(h, p, &pa) != HBA_STATUS_OK) continue;
        fc_port_info* port = NewPortRecord(a);
        if (!port) throw OutOfRecords();
        FillPort(port, pa);
        if (lastPort) {
            lastPort->nextPort = port;
        } else {
            ctrl->firstPort = port;
        }
        lastPort = port;

        fc_port_info* lastDiscovered = nullptr;
        for (HBA_UINT32 d = 0; d < pa.NumberofDiscoveredPorts; ++d) {
            HBA_PORTATTRIBUTES da;
            std::memset(&da, 0, sizeof(da));
            if (lib.GetDiscoveredPortAttributes(h, p, d, &da) != HBA_STATUS_OK) continue;
            fc_port_info* disc = NewPortRecord(a);
            if (!disc) throw OutOfRecords();
            FillPort(disc, da);
            if (lastDiscovered) {
                lastDiscovered->discovered = disc;
            } else {
                port->discovered = disc;
            }
            lastDiscovered = disc;

            uint8_t rsp[kInquiryResponseSize];
            uint8_t sense[kInquirySenseSize];
            std::memset(rsp, 'x', sizeof(rsp));
            std::memset(sense, 'y', sizeof(sense));
            if (lib.SendScsiInquiry(h, da.PortWWN, 0, 0, 0, rsp, sizeof(rsp), sense,
                                    sizeof(sense)) == HBA_STATUS_OK) {
                fc_scsi_inquiry* q = NewListedRecord(lists.inquiries, lists.inquiryCount, a);
                if (!q) throw OutOfRecords();
                FillInquiry(q, ctrl, rsp);
                disc->inquiry = q;
            }
        }
        HBA_MGMTINFO info;
        std::memset(&info, 0, sizeof(info));
        lib.GetRNIDMgmtInfo(h, &info);
    }
}

} // namespace

int TakeInventory(HbaLibrary& lib, const InventoryLists& lists, const Allocation& a) {
    if (!lib.Open()) return kInventoryNoLibrary;
    HBA_HANDLE open = 0;
    try {
        lib.RefreshAdapterConfiguration();
        HBA_UINT32 n = lib.GetNumberOfAdapters();
        for (HBA_UINT32 i = 0; i < n; ++i) {
            char name[kAdapterNameSize];
            std::memset(name, 0, sizeof(name));
            if (lib.GetAdapterName(i, name) != HBA_STATUS_OK) continue;
            name[sizeof(name) - 1] = '\0';
            HBA_HANDLE h = lib.OpenAdapter(name);
            if (!h) continue;
            open = h;
            lib.RefreshInformation(h);
            HBA_ADAPTERATTRIBUTES attr;
            std::memset(&attr, 0, sizeof(attr));
            if (lib.GetAdapterAttributes(h, &attr) != HBA_STATUS_OK) {
                lib.CloseAdapter(h);
                open = 0;
                continue;
            }
            fc_ctrl_info* ctrl = NewListedRecord(lists.controllers, lists.controllerCount, a);
            if (!ctrl) throw OutOfRecords();
            FillController(ctrl, attr);
            ReadPorts(lib, h, ctrl, lists, a);
            lib.CloseAdapter(h);
            open = 0;
        }
    } catch (const OutOfRecords&) {
        if (open) lib.CloseAdapter(open);
        lib.Close();
        return kInventoryNoMemory;
    } catch (const std::bad_alloc&) {
        if (open) lib.CloseAdapter(open);
        lib.Close();
        return kInventoryNoMemory;
    } catch (...) {
        if (open) lib.CloseAdapter(open);
        lib.Close();
        return kInventoryOk;
    }
    lib.Close();
    return kInventoryOk;
}

void HbaForwarder::Report(const HbaMessage& m, const char* formatted) const {
    if (log_) log_(m, formatted ? formatted : m.text);
}

void HbaForwarder::RefreshAdapterConfiguration() {
    Report(kMsgRefreshConfig);
    if (functions_.refreshAdapterConfiguration) functions_.refreshAdapterConfiguration();
}

HBA_UINT32 HbaForwarder::GetNumberOfAdapters() {
    if (!functions_.getNumberOfAdapters) {
        Report(kMsgNoGetNumberOfAdapters);
        return 0;
    }
    return functions_.getNumberOfAdapters();
}

HBA_STATUS HbaForwarder::GetAdapterName(HBA_UINT32 index, char* name) {
    char line[96];
    std::snprintf(line, sizeof(line), kMsgGetAdapterName.text, int(index),
                  static_cast<void*>(name));
    Report(kMsgGetAdapterName, line);
    if (!functions_.getAdapterName) {
        Report(kMsgNoGetAdapterName);
        return HBA_STATUS_ERROR;
    }
    return functions_.getAdapterName(index, name);
}

HBA_HANDLE HbaForwarder::OpenAdapter(char* name) {
    Report(kMsgOpenAdapter);
    if (!functions_.openAdapter) {
        Report(kMsgNoOpenAdapter);
        return 0;
    }
    return functions_.openAdapter(name);
}

void HbaForwarder::CloseAdapter(HBA_HANDLE handle) {
    Report(kMsgCloseAdapter);
    if (functions_.closeAdapter) functions_.closeAdapter(handle);
}

void HbaForwarder::RefreshInformation(HBA_HANDLE handle) {
    Report(kMsgRefreshInfo);
    if (functions_.refreshInformation) functions_.refreshInformation(handle);
}

HBA_STATUS HbaForwarder::GetAdapterAttributes(HBA_HANDLE handle, HBA_ADAPTERATTRIBUTES* a) {
    if (!functions_.getAdapterAttributes) {
        Report(kMsgNoGetAdapterAttributes);
        return HBA_STATUS_ERROR;
    }
    return functions_.getAdapterAttributes(handle, a);
}

HBA_STATUS HbaForwarder::GetAdapterPortAttributes(HBA_HANDLE handle, HBA_UINT32 port,
                                                  HBA_PORTATTRIBUTES* p) {
    if (!functions_.getAdapterPortAttributes) {
        Report(kMsgNoGetAdapterPortAttributes);
        return HBA_STATUS_ERROR;
    }
    return functions_.getAdapterPortAttributes(handle, port, p);
}

HBA_STATUS HbaForwarder::GetDiscoveredPortAttributes(HBA_HANDLE handle, HBA_UINT32 port,
                                                     HBA_UINT32 discovered, HBA_PORTATTRIBUTES* p) {
    if (!functions_.getDiscoveredPortAttributes) {
        Report(kMsgNoGetDiscoveredPortAttributes);
        return HBA_STATUS_ERROR;
    }
    return functions_.getDiscoveredPortAttributes(handle, port, discovered, p);
}

HBA_STATUS HbaForwarder::GetRNIDMgmtInfo(HBA_HANDLE handle, HBA_MGMTINFO* info) {
    if (!functions_.getRNIDMgmtInfo) {
        Report(kMsgNoGetRNIDMgmtInfo);
        return HBA_STATUS_ERROR;
    }
    return functions_.getRNIDMgmtInfo(handle, info);
}

HBA_STATUS HbaForwarder::SendScsiInquiry(HBA_HANDLE handle, HBA_WWN portWWN, HBA_UINT64 lun,
                                         uint8_t evpd, HBA_UINT32 page, void* rsp,
                                         HBA_UINT32 rspSize, void* sense, HBA_UINT32 senseSize) {
    if (!functions_.sendScsiInquiry) {
        Report(kMsgNoSendScsiInquiry);
        return HBA_STATUS_ERROR;
    }
    return functions_.sendScsiInquiry(handle, portWWN, lun, evpd, page, rsp, rspSize, sense,
                                      senseSize);
}

} // namespace fc
