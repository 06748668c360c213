#include "core/vetter/fc/fc_records.h"

const char* const kHbaFunctionNames[kHbaFunctionCount] = {
    "HBA_GetVersion",
    "HBA_GetNumberOfAdapters",
    "HBA_GetAdapterName",
    "HBA_OpenAdapter",
    "HBA_OpenAdapterByWWN",
    "HBA_CloseAdapter",
    "HBA_GetAdapterAttributes",
    "HBA_GetAdapterPortAttributes",
    "HBA_GetDiscoveredPortAttributes",
    "HBA_GetPortStatistics",
    "HBA_GetFcpTargetMapping",
    "HBA_GetFcpTargetMappingV2",
    "HBA_GetRNIDMgmtInfo",
    "HBA_GetFcpPersistentBinding",
    "HBA_GetPersistentBindingV2",
    "HBA_RefreshAdapterConfiguration",
    "HBA_RefreshInformation",
    "HBA_SendReportLUNs",
    "HBA_SendScsiInquiry",
};

namespace fc {

bool AppendPointer(void*** list, size_t* count, void* record, const Allocation& a) {
    size_t n = *count;
    void** grown = static_cast<void**>(a.grow(*list, (n + 2) * sizeof(void*)));
    if (!grown) return false;
    grown[n] = record;
    grown[n + 1] = nullptr;
    *list = grown;
    *count = n + 1;
    return true;
}

fc_port_info* NewPortRecord(const Allocation& a) {
    fc_port_info* p = static_cast<fc_port_info*>(a.zeroed(1, sizeof(fc_port_info)));
    if (p) p->unused = -1;
    return p;
}

} // namespace fc
