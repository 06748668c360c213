// Stand-in "HbaApi.dll": adapters, ports, discovered ports and inquiry
// answers come from an INI file named by the environment variable HBAAPI_INI,
// else "HbaApi.ini" beside this DLL. Layout (every key optional):
//
//   [HbaApi]        Version, Adapters (count)
//   [Adapter<a>]    Name, Open (0: OpenAdapter fails), Attributes (0: fails),
//                   Manufacturer, SerialNumber, Model, ModelDescription,
//                   NodeWWN, NodeSymbolicName, HardwareVersion, DriverVersion,
//                   OptionROMVersion, FirmwareVersion, DriverName, Ports
//   [Adapter<a>.Port<p>]                  Fail (1), NodeWWN, PortWWN, PortFcId,
//                   PortType, PortState, PortSymbolicName, OSDeviceName,
//                   PortSpeed, PortSupportedSpeed, PortMaxFrameSize,
//                   FabricName, Discovered (count)
//   [Adapter<a>.Port<p>.Discovered<d>]    the port keys, and Inquiry =
//                   vendor|product|revision (absent: the inquiry fails)
//
// WWNs are written as eight hex bytes with or without colons. Every call is
// appended to the file named by HBAAPI_LOG, when set.
#include "core/vetter/fc/hba_types.h"

#include <windows.h>

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HMODULE self = nullptr;

std::string Env(const char* name) {
    char buf[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

std::string IniPath() {
    std::string path = Env("HBAAPI_INI");
    if (!path.empty()) return path;
    char buf[MAX_PATH * 2];
    DWORD n = GetModuleFileNameA(self, buf, sizeof buf);
    if (n == 0 || n >= sizeof buf) return std::string();
    path.assign(buf, n);
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return std::string();
    return path.substr(0, slash + 1) + "HbaApi.ini";
}

void Log(const char* format, ...) {
    std::string path = Env("HBAAPI_LOG");
    if (path.empty()) return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (FILE* f = std::fopen(path.c_str(), "a")) {
        std::fprintf(f, "%s\n", line);
        std::fclose(f);
    }
}

const char kMissing[] = "\x01missing";

bool Text(const std::string& section, const char* key, std::string* value) {
    char buf[1024];
    GetPrivateProfileStringA(section.c_str(), key, kMissing, buf, sizeof buf, IniPath().c_str());
    if (std::strcmp(buf, kMissing) == 0) return false;
    *value = buf;
    return true;
}

unsigned Number(const std::string& section, const char* key, unsigned def) {
    std::string v;
    if (!Text(section, key, &v) || v.empty()) return def;
    return unsigned(std::strtoul(v.c_str(), nullptr, 0));
}

void CopyText(const std::string& section, const char* key, char* field, size_t size) {
    std::string v;
    if (!Text(section, key, &v)) return;
    size_t n = v.size() < size - 1 ? v.size() : size - 1;
    std::memcpy(field, v.data(), n);
    field[n] = '\0';
}

void CopyWwn(const std::string& section, const char* key, HBA_WWN* wwn) {
    std::string v;
    if (!Text(section, key, &v)) return;
    std::string hex;
    for (char c : v) {
        if (std::isxdigit(static_cast<unsigned char>(c))) hex += c;
    }
    for (size_t i = 0; i < 8 && 2 * i + 1 < hex.size(); ++i) {
        wwn->wwn[i] = uint8_t(std::strtoul(hex.substr(2 * i, 2).c_str(), nullptr, 16));
    }
}

std::string AdapterSection(unsigned a) {
    return "Adapter" + std::to_string(a);
}
std::string PortSection(unsigned a, unsigned p) {
    return AdapterSection(a) + ".Port" + std::to_string(p);
}
std::string DiscoveredSection(unsigned a, unsigned p, unsigned d) {
    return PortSection(a, p) + ".Discovered" + std::to_string(d);
}

unsigned AdapterCount() {
    return Number("HbaApi", "Adapters", 0);
}

// Handles are the adapter index plus one.
bool AdapterOf(HBA_HANDLE handle, unsigned* a) {
    if (handle == 0 || handle > AdapterCount()) return false;
    *a = handle - 1;
    return true;
}

HBA_STATUS FillPort(const std::string& s, HBA_PORTATTRIBUTES* p) {
    if (!p) return HBA_STATUS_ERROR;
    std::string probe;
    bool exists = Text(s, "PortWWN", &probe) || Text(s, "Fail", &probe) ||
                  Text(s, "Discovered", &probe) || Text(s, "PortSymbolicName", &probe);
    if (!exists || Number(s, "Fail", 0) != 0) return HBA_STATUS_ERROR;
    std::memset(p, 0, sizeof *p);
    CopyWwn(s, "NodeWWN", &p->NodeWWN);
    CopyWwn(s, "PortWWN", &p->PortWWN);
    p->PortFcId = Number(s, "PortFcId", 0);
    p->PortType = Number(s, "PortType", 0);
    p->PortState = Number(s, "PortState", 0);
    p->PortSupportedClassofService = Number(s, "PortSupportedClassofService", 0);
    CopyText(s, "PortSymbolicName", p->PortSymbolicName, sizeof p->PortSymbolicName);
    CopyText(s, "OSDeviceName", p->OSDeviceName, sizeof p->OSDeviceName);
    p->PortSupportedSpeed = Number(s, "PortSupportedSpeed", 0);
    p->PortSpeed = Number(s, "PortSpeed", 0);
    p->PortMaxFrameSize = Number(s, "PortMaxFrameSize", 0);
    CopyWwn(s, "FabricName", &p->FabricName);
    p->NumberofDiscoveredPorts = Number(s, "Discovered", 0);
    return HBA_STATUS_OK;
}

bool SameWwn(const HBA_WWN& a, const HBA_WWN& b) {
    return std::memcmp(a.wwn, b.wwn, sizeof a.wwn) == 0;
}

void PutPadded(uint8_t* at, size_t width, const std::string& text) {
    std::memset(at, ' ', width);
    std::memcpy(at, text.data(), text.size() < width ? text.size() : width);
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

extern "C" {

__declspec(dllexport) HBA_UINT32 HBA_GetVersion() {
    Log("GetVersion");
    return Number("HbaApi", "Version", 2);
}

__declspec(dllexport) HBA_UINT32 HBA_GetNumberOfAdapters() {
    Log("GetNumberOfAdapters");
    return AdapterCount();
}

__declspec(dllexport) HBA_STATUS HBA_GetAdapterName(HBA_UINT32 index, char* name) {
    Log("GetAdapterName %u", unsigned(index));
    if (!name || index >= AdapterCount()) return HBA_STATUS_ERROR;
    std::string n;
    if (!Text(AdapterSection(index), "Name", &n)) return HBA_STATUS_ERROR;
    // Names are at most 255 bytes in the published interface.
    if (n.size() > 255) n.resize(255);
    std::memcpy(name, n.c_str(), n.size() + 1);
    return HBA_STATUS_OK;
}

__declspec(dllexport) HBA_HANDLE HBA_OpenAdapter(char* name) {
    Log("OpenAdapter %s", name ? name : "(null)");
    if (!name) return 0;
    for (unsigned a = 0; a < AdapterCount(); ++a) {
        std::string n;
        if (Text(AdapterSection(a), "Name", &n) && n == name) {
            return Number(AdapterSection(a), "Open", 1) ? HBA_HANDLE(a + 1) : 0;
        }
    }
    return 0;
}

__declspec(dllexport) void HBA_CloseAdapter(HBA_HANDLE handle) {
    Log("CloseAdapter %u", unsigned(handle));
}

__declspec(dllexport) HBA_STATUS
    HBA_GetAdapterAttributes(HBA_HANDLE handle, HBA_ADAPTERATTRIBUTES* out) {
    Log("GetAdapterAttributes %u", unsigned(handle));
    unsigned a;
    if (!out || !AdapterOf(handle, &a)) return HBA_STATUS_ERROR;
    std::string s = AdapterSection(a);
    if (!Number(s, "Attributes", 1)) return HBA_STATUS_ERROR;
    std::memset(out, 0, sizeof *out);
    CopyText(s, "Manufacturer", out->Manufacturer, sizeof out->Manufacturer);
    CopyText(s, "SerialNumber", out->SerialNumber, sizeof out->SerialNumber);
    CopyText(s, "Model", out->Model, sizeof out->Model);
    CopyText(s, "ModelDescription", out->ModelDescription, sizeof out->ModelDescription);
    CopyWwn(s, "NodeWWN", &out->NodeWWN);
    CopyText(s, "NodeSymbolicName", out->NodeSymbolicName, sizeof out->NodeSymbolicName);
    CopyText(s, "HardwareVersion", out->HardwareVersion, sizeof out->HardwareVersion);
    CopyText(s, "DriverVersion", out->DriverVersion, sizeof out->DriverVersion);
    CopyText(s, "OptionROMVersion", out->OptionROMVersion, sizeof out->OptionROMVersion);
    CopyText(s, "FirmwareVersion", out->FirmwareVersion, sizeof out->FirmwareVersion);
    out->VendorSpecificID = Number(s, "VendorSpecificID", 0);
    out->NumberOfPorts = Number(s, "Ports", 0);
    CopyText(s, "DriverName", out->DriverName, sizeof out->DriverName);
    return HBA_STATUS_OK;
}

__declspec(dllexport) HBA_STATUS
    HBA_GetAdapterPortAttributes(HBA_HANDLE handle, HBA_UINT32 port, HBA_PORTATTRIBUTES* out) {
    Log("GetAdapterPortAttributes %u %u", unsigned(handle), unsigned(port));
    unsigned a;
    if (!AdapterOf(handle, &a)) return HBA_STATUS_ERROR;
    return FillPort(PortSection(a, port), out);
}

__declspec(dllexport) HBA_STATUS
    HBA_GetDiscoveredPortAttributes(HBA_HANDLE handle, HBA_UINT32 port, HBA_UINT32 discovered,
                                    HBA_PORTATTRIBUTES* out) {
    Log("GetDiscoveredPortAttributes %u %u %u", unsigned(handle), unsigned(port),
        unsigned(discovered));
    unsigned a;
    if (!AdapterOf(handle, &a)) return HBA_STATUS_ERROR;
    return FillPort(DiscoveredSection(a, port, discovered), out);
}

__declspec(dllexport) HBA_STATUS HBA_GetRNIDMgmtInfo(HBA_HANDLE handle, HBA_MGMTINFO* info) {
    Log("GetRNIDMgmtInfo %u", unsigned(handle));
    unsigned a;
    if (!info || !AdapterOf(handle, &a)) return HBA_STATUS_ERROR;
    std::memset(info, 0, sizeof *info);
    CopyWwn(AdapterSection(a), "NodeWWN", &info->wwn);
    return HBA_STATUS_OK;
}

__declspec(dllexport) void HBA_RefreshAdapterConfiguration() {
    Log("RefreshAdapterConfiguration");
}

__declspec(dllexport) void HBA_RefreshInformation(HBA_HANDLE handle) {
    Log("RefreshInformation %u", unsigned(handle));
}

__declspec(dllexport) HBA_STATUS
    HBA_SendScsiInquiry(HBA_HANDLE handle, HBA_WWN portWWN, HBA_UINT64 lun, uint8_t evpd,
                        HBA_UINT32 page, void* rsp, HBA_UINT32 rspSize, void* sense,
                        HBA_UINT32 senseSize) {
    Log("SendScsiInquiry %u %02X%02X%02X%02X%02X%02X%02X%02X lun %u evpd %u page %u rsp %u "
        "sense %u",
        unsigned(handle), portWWN.wwn[0], portWWN.wwn[1], portWWN.wwn[2], portWWN.wwn[3],
        portWWN.wwn[4], portWWN.wwn[5], portWWN.wwn[6], portWWN.wwn[7], unsigned(lun),
        unsigned(evpd), unsigned(page), unsigned(rspSize), unsigned(senseSize));
    unsigned a;
    if (!rsp || rspSize < 36 || !AdapterOf(handle, &a)) return HBA_STATUS_ERROR;
    unsigned ports = Number(AdapterSection(a), "Ports", 0);
    for (unsigned p = 0; p < ports; ++p) {
        unsigned count = Number(PortSection(a, p), "Discovered", 0);
        for (unsigned d = 0; d < count; ++d) {
            std::string s = DiscoveredSection(a, p, d);
            HBA_WWN w{};
            CopyWwn(s, "PortWWN", &w);
            std::string inquiry;
            if (!SameWwn(w, portWWN) || !Text(s, "Inquiry", &inquiry)) continue;
            // Standard INQUIRY data: vendor at 8, product at 16, revision at 32.
            uint8_t* r = static_cast<uint8_t*>(rsp);
            std::memset(r, 0, 8);
            r[4] = 31;
            size_t bar1 = inquiry.find('|');
            size_t bar2 = bar1 == std::string::npos ? bar1 : inquiry.find('|', bar1 + 1);
            PutPadded(r + 8, 8, inquiry.substr(0, bar1));
            PutPadded(r + 16, 16,
                      bar1 == std::string::npos ? "" : inquiry.substr(bar1 + 1, bar2 - bar1 - 1));
            PutPadded(r + 32, 4, bar2 == std::string::npos ? "" : inquiry.substr(bar2 + 1));
            if (sense && senseSize) std::memset(sense, 0, senseSize);
            return HBA_STATUS_OK;
        }
    }
    return HBA_STATUS_ERROR;
}

} // extern "C"
