// Chassis and board identity: the sources in their order (HwProbe's WMI and
// SMBIOS answers, the management service, the registry), the system-ID
// mapping and what is published for the engine.
#include "vetter/api/exports.h"
#include "vetter/api/guard.h"
#include "vetter/api/set_env_value.h"
#include "vetter/identity/ascendo.h"
#include "vetter/identity/hwprobe.h"
#include "vetter/identity/system_id_list.h"

#include "core/vetter/condition_data.h"
#include "core/vetter/identity/board_id.h"
#include "core/vetter/identity/id_text.h"
#include "core/vetter/identity/system_id_file.h"
#include "core/vetter/products.h"
#include "core/vetter/tables.h"
#include "vetter/environment/os_type.h"

#include <string>

using vetter::Guarded;

namespace vetter {

namespace {

constexpr int kNotDetermined = 4;
constexpr int kRegSz = 1; // the reader ignores the type

// A source value that is present and not blank.
bool HwValue(HwSource source, int selector, std::string* value) {
    char buffer[kOutSize] = {};
    if (!QueryHwProbe(source, selector, buffer) || !identity::IsUsableValue(buffer)) return false;
    *value = buffer;
    return true;
}

// The model name's cleaning: quotes, tabs and line feeds become blanks and
// trailing blanks go; leading blanks stay.
std::string CleanModelName(std::string text) {
    for (char& c : text)
        if (c == '"' || c == '\t' || c == '\n') c = ' ';
    size_t end = text.find_last_not_of(' ');
    text.resize(end == std::string::npos ? 0 : end + 1);
    return text;
}

bool ServiceMayAnswer(bool publish) {
    return Is_VTRX_available(publish) != 0 || Is_WinPE_OS();
}

// Get_Model_Name into a string: 0 or 4.
int ModelName(bool publish, std::string* model) {
    char out[kOutSize] = {};
    int r = Get_Model_Name(out, publish);
    if (r == RET_OK) *model = out;
    return r;
}

bool VirtualModel(bool publish, std::string* model) {
    return ModelName(publish, model) == RET_OK && identity::IsVirtualMachineName(*model, false);
}

// The "Chassis" value after a chassis was found: 0, or 55 when not written.
int PublishChassis(bool publish, const std::string& chassis) {
    if (!publish) return RET_OK;
    return PublishAscendoValue(identity::kChassisValueName, chassis) == 0 ? RET_OK
                                                                          : RET_FATAL_ERROR;
}

// One board source: "SACHNUMMER" first when publishing, then the output.
bool BoardFrom(HwSource source, char* out, bool publish) {
    std::string board;
    if (!HwValue(source, 1, &board)) return false;
    if (publish && SetEnvValue("SACHNUMMER", board.c_str()) != RET_OK) return false;
    identity::CopyToOutput(out, board);
    return true;
}

int ChassisFrom(HwSource source, char* out) {
    std::string chassis;
    if (!HwValue(source, 2, &chassis)) return kNotDetermined;
    identity::CopyToOutput(out, chassis);
    return RET_OK;
}

// The registry's "Chassis" when IDsFromRegistry asks for it, else the native sources.
int RawChassisId(char* out, bool publish) {
    if (IDsFromRegistry) {
        char stored[kOutSize] = {};
        char name[] = "Chassis";
        bool found = false;
        if (Get_System_Info_REGISTRY(name, stored, publish, &found) &&
            identity::IsUsableValue(stored)) {
            identity::CopyToOutput(out, stored);
            return RET_OK;
        }
    }
    return Get_Native_Chassis_ID(out, publish);
}

} // namespace

} // namespace vetter

using namespace vetter;

int Get_Model_Name(char* out, bool publish) {
    return Guarded(kNotDetermined, [&] {
        if (!out) return int(RET_BADCALL);
        std::string model;
        if (!HwValue(HwSource::Wmi, 0, &model)) return kNotDetermined;
        if (publish && SetEnvValue("CHASSISMODEL", model.c_str()) != RET_OK) return kNotDetermined;
        identity::CopyToOutput(out, CleanModelName(model));
        return int(RET_OK);
    });
}

int Get_WMI_Chassis_ID(char* out, bool) {
    return Guarded(kNotDetermined, [&] {
        if (!out) return int(RET_BADCALL);
        return ChassisFrom(HwSource::Wmi, out);
    });
}

int Get_SMBIOS_Chassis_ID(char* out, bool) {
    return Guarded(kNotDetermined, [&] {
        if (!out) return int(RET_BADCALL);
        return ChassisFrom(HwSource::Smbios, out);
    });
}

int Get_Native_Chassis_ID(char* out, bool publish) {
    return Guarded(kNotDetermined, [&] {
        if (!out) return int(RET_BADCALL);
        std::string model;
        if (VirtualModel(publish, &model)) {
            identity::CopyToOutput(out, model);
            return int(RET_OK);
        }
        if (ChassisFrom(HwSource::Wmi, out) == RET_OK) return int(RET_OK);
        if (ChassisFrom(HwSource::Smbios, out) == RET_OK) return int(RET_OK);
        if (!ServiceMayAnswer(publish)) return kNotDetermined;
        char service[kOutSize] = {};
        if (Get_Chassis_ID_VTRX(service, publish) != RET_OK || !identity::IsUsableValue(service))
            return kNotDetermined;
        identity::CopyToOutput(out, service);
        return int(RET_OK);
    });
}

bool Get_Systemboard_Info(char* out, bool publish, bool*) {
    return Guarded(false, [&] {
        if (!out) return false;
        if (BoardFrom(HwSource::Smbios, out, publish)) return true;
        if (BoardFrom(HwSource::Wmi, out, publish)) return true;
        if (!ServiceMayAnswer(publish)) return false;
        char service[kOutSize] = {};
        if (Get_Systemboard_Model_VTRX(service, publish) != RET_OK ||
            !identity::IsUsableValue(service))
            return false;
        identity::CopyToOutput(out, service);
        return true;
    });
}

bool Get_Native_Systemboard_DNumber(char* out, bool publish, bool* found) {
    return Get_Systemboard_Info(out, publish, found);
}

bool Get_WMI_Systemboard_Info(char* out, bool publish, bool*) {
    return Guarded(false, [&] { return out && BoardFrom(HwSource::Wmi, out, publish); });
}

bool Get_SMBIOS_Systemboard_Info(char* out, bool publish, bool*) {
    return Guarded(false, [&] { return out && BoardFrom(HwSource::Smbios, out, publish); });
}

bool Get_Systemboard_D_Nummer(char* out, bool publish) {
    return Guarded(false, [&] {
        if (!out) return false;
        char info[kOutSize] = {};
        if (!Get_Systemboard_Info(info, publish, nullptr)) return false;
        identity::BoardDerivation board = identity::DeriveDNumber(info);
        if (board.kind == identity::BoardKind::Rejected) return false;
        identity::CopyToOutput(out, board.value);
        if (!publish) return true;
        return PublishAscendoValue(identity::kSystemBoardValueName,
                                   identity::SystemBoardRegistryText(board, info)) == 0;
    });
}

int Get_Abstract_Chassis_ID(char* out, bool publish) {
    return Guarded(kNotDetermined, [&] {
        if (!out) return int(RET_BADCALL);
        char dnum[kOutSize] = {};
        if (!Get_Systemboard_D_Nummer(dnum, publish)) return kNotDetermined;
        char chassis[kOutSize] = {};
        if (RawChassisId(chassis, publish) != RET_OK) return kNotDetermined;
        if (Read_System_ID_File() != 0) return kNotDetermined;
        std::string mapped = identity::MapAbstractChassis(
            system_id_entry_list, SystemIdEntryCount(), dnum, chassis,
            [&](std::string* model) { return ModelName(publish, model) == RET_OK; });
        identity::CopyToOutput(out, mapped);
        return PublishChassis(publish, mapped);
    });
}

int Get_Chassis_ID(char* out, bool publish) {
    return Guarded(kNotDetermined, [&] {
        if (!out) return int(RET_BADCALL);
        std::string model;
        if (VirtualModel(publish, &model)) {
            identity::CopyToOutput(out, model);
            return PublishChassis(publish, model);
        }
        char abstractId[kOutSize] = {};
        if (Get_Abstract_Chassis_ID(abstractId, publish) == RET_OK) {
            identity::CopyToOutput(out, abstractId);
            return int(RET_OK);
        }
        for (HwSource source : {HwSource::Wmi, HwSource::Smbios}) {
            std::string chassis;
            if (!HwValue(source, 2, &chassis)) continue;
            if (publish && SetEnvValue("CHASSISID", chassis.c_str()) != RET_OK)
                return kNotDetermined;
            identity::CopyToOutput(out, chassis);
            return PublishChassis(publish, chassis);
        }
        if (!ServiceMayAnswer(publish)) return kNotDetermined;
        char service[kOutSize] = {};
        if (Get_Chassis_ID_VTRX(service, publish) != RET_OK || !identity::IsUsableValue(service))
            return kNotDetermined;
        identity::CopyToOutput(out, service);
        return PublishChassis(publish, service);
    });
}

bool Get_System_Info_REGISTRY(char* name, char* out, bool publish, bool* found) {
    return Guarded(false, [&] {
        if (!out || !name || !IDsFromRegistry) return false;
        SystemKind s = CurrentSystemKind();
        if (!s.known) return false;
        std::string key = AscendoKeyPath(s);
        char text[kOutSize] = {};
        if (getSubKeyValue(&key[0], name, kRegSz, text, sizeof text - 1) != 0) return false;
        if (found) *found = true;
        std::string value = text;
        if (std::string(name) == identity::kSystemBoardValueName) {
            identity::SystemBoardValue board = identity::ParseSystemBoardRegistryText(value);
            identity::CopyToOutput(out, board.out);
            return !publish || SetEnvValue("SACHNUMMER", board.sachnummer.c_str()) == RET_OK;
        }
        identity::CopyToOutput(out, value);
        return !publish || SetEnvValue("CHASSISID", value.c_str()) == RET_OK;
    });
}
