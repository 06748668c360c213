// The Fibre Channel exports: the HBA inventory, the FC configuration file,
// the record constructors and the two text helpers.
#include "vetter/api/debug_level.h"
#include "vetter/api/exports.h"
#include "vetter/api/guard.h"
#include "vetter/fc/hbaapi.h"

#include "core/vetter/fc/fc_config.h"
#include "core/vetter/fc/fc_records.h"
#include "core/vetter/fc/fc_text.h"
#include "core/vetter/identity/id_text.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

using vetter::Guarded;

namespace {

// Lengths of the exported lists; a list the caller set back to null starts anew.
size_t controllerCount = 0;
size_t configCount = 0;
fc_scsi_inquiry** inquiryList = nullptr;
size_t inquiryCount = 0;

void Resync(void* list, size_t* count) {
    if (!list) *count = 0;
}

// The process-ending cases of the number conversion.
[[noreturn]] void EndForRange() {
    errno = ERANGE;
    std::perror("strtoul");
    std::fflush(stderr);
    std::exit(fc::kExitOutOfRange);
}

} // namespace

int Get_FC_Ctrl_Peripherals() {
    return Guarded(0, [] {
        Resync(fc_ctrl_info_list, &controllerCount);
        vetter::CHbaApi library;
        fc::InventoryLists lists = {&fc_ctrl_info_list, &controllerCount, &inquiryList,
                                    &inquiryCount};
        return fc::TakeInventory(library, lists);
    });
}

int Read_FC_Config_File(char* path) {
    return Guarded(int(fc::kFcConfigNoMemory), [&] {
        if (!path) return fc::kFcConfigNoFile;
        std::FILE* f = std::fopen(path, "rb");
        if (!f) return fc::kFcConfigNoFile;
        std::string bytes;
        char chunk[4096];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
            bytes.append(chunk, n);
        Resync(fc_config_entry_list, &configCount);
        fc::FcConfigOutcome o = fc::ParseFcConfig(bytes, &fc_config_entry_list, &configCount);
        if (o.endProcess) {
            std::fclose(f);
            if (o.rangeError) EndForRange();
            if (vetter::kDebugLevel > 0 && PrintDebugOnScreen) {
                std::fputs(o.message.c_str(), stderr);
                std::fflush(stderr);
            }
            std::exit(o.exitCode);
        }
        int closed = std::fclose(f);
        if (o.result != fc::kFcConfigOk) return o.result;
        return ExternalDebugControl ? 0 : closed;
    });
}

char* PrintWWN(HBA_wwn* wwn, char* out) {
    return Guarded<char*>(out, [&] {
        if (out) identity::CopyToOutput(out, fc::FormatWWN(wwn ? wwn->wwn : nullptr));
        return out;
    });
}

int string2int(char* text, int base) {
    return Guarded(-1, [&] {
        fc::String2IntResult r = fc::String2Int(text, base);
        if (r.outOfRange) EndForRange();
        return r.value;
    });
}

fc_ctrl_info* get_new_ctrl_info_entry() {
    return Guarded<fc_ctrl_info*>(nullptr, [] {
        Resync(fc_ctrl_info_list, &controllerCount);
        return fc::NewListedRecord(&fc_ctrl_info_list, &controllerCount);
    });
}

fc_port_info* get_new_port_info_entry() {
    return Guarded<fc_port_info*>(nullptr, [] { return fc::NewPortRecord(); });
}

fc_scsi_inquiry* get_new_inquiry_entry() {
    return Guarded<fc_scsi_inquiry*>(
        nullptr, [] { return fc::NewListedRecord(&inquiryList, &inquiryCount); });
}
