// Read_System_ID_File: "System_Ids_2_Abstract_Ids.txt" beside the plug-in,
// appended to system_id_entry_list. Lines are read in full and columns cut to
// their fields (the file's nominal limit is 1023 characters per line).
#include "vetter/identity/system_id_list.h"

#include "vetter/api/exports.h"
#include "vetter/api/guard.h"

#include "core/vetter/fc/fc_records.h"
#include "core/vetter/identity/system_id_file.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace vetter {

namespace {

size_t entryCount = 0;

// The file path: the module's folder, or the bare name (current directory)
// when its path has no backslash. Empty when the module is not found.
std::string SystemIdFilePath() {
    HMODULE self = GetModuleHandleA("Vetter.dll");
    if (!self) return std::string();
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(self, &path[0], DWORD(path.size()));
        if (n == 0) return std::string();
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return identity::kSystemIdFileName;
    return path.substr(0, slash + 1) + identity::kSystemIdFileName;
}

int ReadFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return identity::kSysIdNoFile;
    std::string bytes;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.append(chunk, n);
    // A list the caller has set back to null starts again from nothing.
    if (!system_id_entry_list) entryCount = 0;
    for (const system_id_file_entry& e : identity::ParseSystemIdFile(bytes)) {
        system_id_file_entry* record = fc::NewListedRecord(&system_id_entry_list, &entryCount);
        if (!record) {
            std::fclose(f);
            return identity::kSysIdNoMemory;
        }
        std::memcpy(record, &e, sizeof e);
    }
    int closed = std::fclose(f);
    return ExternalDebugControl ? 0 : closed;
}

} // namespace

size_t SystemIdEntryCount() {
    return system_id_entry_list ? entryCount : 0;
}

} // namespace vetter

int Read_System_ID_File() {
    return vetter::Guarded(identity::kSysIdNoMemory, [] {
        std::string path = vetter::SystemIdFilePath();
        if (path.empty()) return identity::kSysIdNoModulePath;
        return vetter::ReadFile(path);
    });
}
