// The FC configuration reader on arbitrary bytes: records stay within their
// fields, a process-ending outcome names a real line, and string2int never
// reads or writes beyond its text.
#include "core/vetter/fc/fc_config.h"
#include "core/vetter/fc/fc_text.h"
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
    fc_config_file_entry** list = nullptr;
    size_t count = 0;
    fc::FcConfigOutcome o = fc::ParseFcConfig(bytes, &list, &count);
    size_t lines = identity::SplitTextLines(bytes).size();
    Check(count <= lines);
    if (o.endProcess) {
        Check(o.line >= 1 && size_t(o.line) <= lines);
        Check(o.exitCode == fc::kExitBadHexValue || o.exitCode == fc::kExitOutOfRange);
    }
    for (size_t i = 0; i < count; ++i) {
        fc_config_file_entry* e = list[i];
        Check(Terminated(e->column0, sizeof(e->column0)));
        Check(Terminated(e->vendorIdText, sizeof(e->vendorIdText)));
        Check(Terminated(e->column11, sizeof(e->column11)));
        Check(Terminated(e->column12, sizeof(e->column12)));
        bool complete = i + 1 < count || !o.endProcess;
        if (complete) Check(e->vendorId >= 0 && e->subSystemId >= 0);
        fc_config_sub_record* s = e->firstSub;
        while (s) {
            Check(Terminated(s->second, sizeof(s->second)));
            fc_config_sub_record* next = s->next;
            std::free(s);
            s = next;
        }
        std::free(e);
    }
    Check(count == 0 || list[count] == nullptr);
    std::free(list);

    std::vector<char> text(bytes.begin(), bytes.end());
    text.push_back('\0');
    int base = size ? data[0] % 40 : 16;
    fc::String2IntResult r = fc::String2Int(text.data(), base);
    Check(!r.outOfRange || r.value == -1);
    return 0;
}
