// Fibre Channel exports whose behaviour is not built yet: each gives its
// failure result.
#include "vetter/api/exports.h"

namespace {
constexpr int kFcConfigNotOpened = 51;
constexpr int kHbaLibraryNotLoaded = 53;
} // namespace

int Get_FC_Ctrl_Peripherals() {
    return kHbaLibraryNotLoaded;
}
int Read_FC_Config_File(char*) {
    return kFcConfigNotOpened;
}
char* PrintWWN(HBA_wwn*, char*) {
    return nullptr;
}
int string2int(char*, int) {
    return 0;
}
fc_ctrl_info* get_new_ctrl_info_entry() {
    return nullptr;
}
fc_port_info* get_new_port_info_entry() {
    return nullptr;
}
fc_scsi_inquiry* get_new_inquiry_entry() {
    return nullptr;
}
