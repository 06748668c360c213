#include "vetter/fc/hbaapi.h"

#include "vetter/api/debug_level.h"

#include <cstdio>
#include <string>

namespace vetter {

namespace {

constexpr const char kLibraryName[] = "HbaApi.dll";

void WriteMessage(const fc::HbaMessage& m, const char* text) {
    if (kDebugLevel < m.level) return;
    std::fputs(text, stderr);
    std::fflush(stderr);
}

} // namespace

CHbaApi::CHbaApi() : fc::HbaForwarder(WriteMessage) {}

bool CHbaApi::Open(const char* folder) {
    Report(fc::kMsgOpen);
    if (!library_) {
        if (folder && *folder) {
            std::string path = folder;
            if (path.back() != '\\') path += '\\';
            path += kLibraryName;
            library_.reset(LoadLibraryA(path.c_str()));
        }
        if (!library_) {
            Report(fc::kMsgSystemPath);
            library_.reset(LoadLibraryA(kLibraryName));
        }
        if (library_) {
            LookUp();
        } else {
            loadError_ = GetLastError();
            char line[96];
            std::snprintf(line, sizeof line, fc::kMsgLoadFailed.text, unsigned(loadError_));
            Report(fc::kMsgLoadFailed, line);
        }
    }
    return bool(library_);
}

void CHbaApi::LookUp() {
    FARPROC found[kHbaFunctionCount];
    for (int i = 0; i < kHbaFunctionCount; ++i)
        found[i] = GetProcAddress(library_.get(), kHbaFunctionNames[i]);
    auto at = [&](int i) { return reinterpret_cast<void*>(found[i]); };
    fc::HbaFunctions f;
    f.getVersion = reinterpret_cast<HBA_GetVersionFunc>(at(0));
    f.getNumberOfAdapters = reinterpret_cast<HBA_GetNumberOfAdaptersFunc>(at(1));
    f.getAdapterName = reinterpret_cast<HBA_GetAdapterNameFunc>(at(2));
    f.openAdapter = reinterpret_cast<HBA_OpenAdapterFunc>(at(3));
    f.closeAdapter = reinterpret_cast<HBA_CloseAdapterFunc>(at(5));
    f.getAdapterAttributes = reinterpret_cast<HBA_GetAdapterAttributesFunc>(at(6));
    f.getAdapterPortAttributes = reinterpret_cast<HBA_GetAdapterPortAttributesFunc>(at(7));
    f.getDiscoveredPortAttributes = reinterpret_cast<HBA_GetDiscoveredPortAttributesFunc>(at(8));
    f.getRNIDMgmtInfo = reinterpret_cast<HBA_GetRNIDMgmtInfoFunc>(at(12));
    f.refreshAdapterConfiguration = reinterpret_cast<HBA_RefreshAdapterConfigurationFunc>(at(15));
    f.refreshInformation = reinterpret_cast<HBA_RefreshInformationFunc>(at(16));
    f.sendScsiInquiry = reinterpret_cast<HBA_SendScsiInquiryFunc>(at(18));
    SetFunctions(f);
    if (f.getVersion) {
        version_ = f.getVersion();
        char line[96];
        std::snprintf(line, sizeof line, fc::kMsgLibVersion.text, int(version_));
        Report(fc::kMsgLibVersion, line);
    }
}

void CHbaApi::Close() {
    if (!library_) return;
    Report(fc::kMsgClose);
    SetFunctions(fc::HbaFunctions());
    library_.reset();
}

} // namespace vetter
