// The system-ID file reader on arbitrary bytes: every entry's fields stay
// NUL-terminated within their widths, and the mapping and blade walks over
// the result return one of the texts they were given.
#include "core/vetter/identity/system_id_file.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool Terminated(const char* field, size_t width) {
    return std::memchr(field, 0, width) != nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<system_id_file_entry> entries = identity::ParseSystemIdFile(bytes);
    Check(entries.size() <= identity::SplitTextLines(bytes).size());
    for (const system_id_file_entry& e : entries) {
        Check(Terminated(e.dNumber, sizeof(e.dNumber)));
        Check(Terminated(e.nativeChassisId, sizeof(e.nativeChassisId)));
        Check(Terminated(e.abstractId, sizeof(e.abstractId)));
        Check(Terminated(e.nativeModelId, sizeof(e.nativeModelId)));
        Check(Terminated(e.isBlade, sizeof(e.isBlade)));
    }
    std::vector<const system_id_file_entry*> p = identity::EntryPointers(entries);
    std::string dnum = size > 8 ? bytes.substr(0, 8) : bytes;
    const std::string chassis = "CX1";
    std::string mapped =
        identity::MapAbstractChassis(p.data(), p.size(), dnum, chassis, [](std::string* m) {
            *m = "Model";
            return true;
        });
    bool fromEntry = mapped == chassis;
    for (const system_id_file_entry& e : entries) {
        if (mapped == identity::FieldText(e.abstractId, sizeof(e.abstractId))) fromEntry = true;
    }
    Check(fromEntry);
    identity::IsBladeByEntries(p.data(), p.size(), dnum);
    return 0;
}
