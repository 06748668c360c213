#pragma once
// The structures, status codes and entry-point shapes of the Common HBA API
// that the inventory uses, declared from the published interface. Shared by
// the plug-in's loader and the "HbaApi.dll" stand-in.

#include <cstddef>
#include <cstdint>

typedef uint32_t HBA_UINT32;
typedef uint64_t HBA_UINT64;
typedef uint32_t HBA_HANDLE;
typedef uint32_t HBA_STATUS;

constexpr HBA_STATUS HBA_STATUS_OK = 0;
constexpr HBA_STATUS HBA_STATUS_ERROR = 1;

#pragma pack(push, 1)
typedef struct HBA_wwn {
    uint8_t wwn[8];
} HBA_WWN;

typedef struct HBA_AdapterAttributes {
    char Manufacturer[64];
    char SerialNumber[64];
    char Model[256];
    char ModelDescription[256];
    HBA_WWN NodeWWN;
    char NodeSymbolicName[256];
    char HardwareVersion[256];
    char DriverVersion[256];
    char OptionROMVersion[256];
    char FirmwareVersion[256];
    HBA_UINT32 VendorSpecificID;
    HBA_UINT32 NumberOfPorts;
    char DriverName[256];
} HBA_ADAPTERATTRIBUTES;

typedef struct HBA_PortAttributes {
    HBA_WWN NodeWWN;
    HBA_WWN PortWWN;
    HBA_UINT32 PortFcId;
    HBA_UINT32 PortType;
    HBA_UINT32 PortState;
    HBA_UINT32 PortSupportedClassofService;
    uint8_t PortSupportedFc4Types[32];
    uint8_t PortActiveFc4Types[32];
    char PortSymbolicName[256];
    char OSDeviceName[256];
    HBA_UINT32 PortSupportedSpeed;
    HBA_UINT32 PortSpeed;
    HBA_UINT32 PortMaxFrameSize;
    HBA_WWN FabricName;
    HBA_UINT32 NumberofDiscoveredPorts;
} HBA_PORTATTRIBUTES;

typedef struct HBA_MgmtInfo {
    HBA_WWN wwn;
    HBA_UINT32 unittype;
    HBA_UINT32 PortId;
    HBA_UINT32 NumberOfAttachedNodes;
    uint16_t IPVersion;
    uint16_t UDPPort;
    uint8_t IPAddress[16];
    uint16_t reserved;
    uint16_t TopologyDiscoveryFlags;
} HBA_MGMTINFO;
#pragma pack(pop)

static_assert(sizeof(HBA_WWN) == 8, "HBA_WWN");
static_assert(sizeof(HBA_ADAPTERATTRIBUTES) == 2192, "HBA_ADAPTERATTRIBUTES");
static_assert(offsetof(HBA_ADAPTERATTRIBUTES, NodeWWN) == 640, "NodeWWN");
static_assert(offsetof(HBA_ADAPTERATTRIBUTES, VendorSpecificID) == 1928, "VendorSpecificID");
static_assert(offsetof(HBA_ADAPTERATTRIBUTES, NumberOfPorts) == 1932, "NumberOfPorts");
static_assert(offsetof(HBA_ADAPTERATTRIBUTES, DriverName) == 1936, "DriverName");
static_assert(sizeof(HBA_PORTATTRIBUTES) == 632, "HBA_PORTATTRIBUTES");
static_assert(offsetof(HBA_PORTATTRIBUTES, PortSymbolicName) == 96, "PortSymbolicName");
static_assert(offsetof(HBA_PORTATTRIBUTES, OSDeviceName) == 352, "OSDeviceName");
static_assert(offsetof(HBA_PORTATTRIBUTES, FabricName) == 620, "FabricName");
static_assert(offsetof(HBA_PORTATTRIBUTES, NumberofDiscoveredPorts) == 628, "discovered");
static_assert(sizeof(HBA_MGMTINFO) == 44, "HBA_MGMTINFO");

// Entry points, looked up by name; the calling convention is the platform's
// default (cdecl on 32-bit Windows).
extern "C" {
typedef HBA_UINT32 (*HBA_GetVersionFunc)();
typedef HBA_UINT32 (*HBA_GetNumberOfAdaptersFunc)();
typedef HBA_STATUS (*HBA_GetAdapterNameFunc)(HBA_UINT32 index, char* name);
typedef HBA_HANDLE (*HBA_OpenAdapterFunc)(char* name);
typedef void (*HBA_CloseAdapterFunc)(HBA_HANDLE handle);
typedef HBA_STATUS (*HBA_GetAdapterAttributesFunc)(HBA_HANDLE handle, HBA_ADAPTERATTRIBUTES* a);
typedef HBA_STATUS (*HBA_GetAdapterPortAttributesFunc)(HBA_HANDLE handle, HBA_UINT32 port,
                                                       HBA_PORTATTRIBUTES* p);
typedef HBA_STATUS (*HBA_GetDiscoveredPortAttributesFunc)(HBA_HANDLE handle, HBA_UINT32 port,
                                                          HBA_UINT32 discovered,
                                                          HBA_PORTATTRIBUTES* p);
typedef HBA_STATUS (*HBA_GetRNIDMgmtInfoFunc)(HBA_HANDLE handle, HBA_MGMTINFO* info);
typedef void (*HBA_RefreshAdapterConfigurationFunc)();
typedef void (*HBA_RefreshInformationFunc)(HBA_HANDLE handle);
typedef HBA_STATUS (*HBA_SendScsiInquiryFunc)(HBA_HANDLE handle, HBA_WWN portWWN, HBA_UINT64 fcLUN,
                                              uint8_t evpd, HBA_UINT32 pageCode, void* rsp,
                                              HBA_UINT32 rspSize, void* sense,
                                              HBA_UINT32 senseSize);
}

// The names looked up, in their lookup order.
constexpr int kHbaFunctionCount = 19;
extern const char* const kHbaFunctionNames[kHbaFunctionCount];
