// The exported switches and lists; the engine may set them before any call.
#include "vetter/api/exports.h"

extern "C" {
bool ExternalDebugControl = false;
bool PrintDebugOnScreen = false;
bool IDsFromRegistry = false;
int VerboseLevel = 6;
int nVetter = 0;
system_id_file_entry** system_id_entry_list = nullptr;
fc_config_file_entry** fc_config_entry_list = nullptr;
fc_ctrl_info** fc_ctrl_info_list = nullptr;
}
