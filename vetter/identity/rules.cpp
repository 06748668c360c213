// The qualification rules over the identifiers: list matches, the
// board/chassis decision of the condition data, virtual machines, ZR and
// blade systems.
#include "vetter/api/exports.h"
#include "vetter/api/guard.h"
#include "vetter/identity/system_id_list.h"

#include "core/vetter/condition_data.h"
#include "core/vetter/identity/id_text.h"
#include "core/vetter/identity/rules.h"
#include "core/vetter/identity/system_id_file.h"
#include "core/vetter/tables.h"

using vetter::Guarded;
using vetter::kOutSize;

namespace {

struct ConditionLists {
    char board[kOutSize] = {};
    char chassis[kOutSize] = {};
    bool boardFound = false;
    bool chassisFound = false;
};

ConditionLists ReadLists(const char* data) {
    ConditionLists l;
    l.boardFound = vetter::GetQuotedArgument(data, "board", l.board);
    l.chassisFound = vetter::GetQuotedArgument(data, "chassis", l.chassis);
    return l;
}

} // namespace

bool Is_Valid_Chassis(char* list, bool publish) {
    return Guarded(false, [&] {
        if (!list || !*list) return false;
        char chassis[kOutSize] = {};
        if (Get_Chassis_ID(chassis, publish) != vetter::RET_OK) return false;
        return identity::ListMatch(chassis, list);
    });
}

bool Is_Valid_Systemboard(char* list, bool publish) {
    return Guarded(false, [&] {
        if (!list || !*list) return false;
        char dnum[kOutSize] = {};
        if (!Get_Systemboard_D_Nummer(dnum, publish)) return false;
        return identity::ListMatch(dnum, list);
    });
}

bool Is_Valid_System(char* data, bool publish) {
    return Guarded(false, [&] {
        if (!data || !*data) return false;
        ConditionLists l = ReadLists(data);
        return identity::DecideBoardAndChassis(
            data, l.boardFound, l.chassisFound,
            [&] { return Is_Valid_Systemboard(l.board, publish); },
            [&] { return Is_Valid_Chassis(l.chassis, publish); });
    });
}

bool Is_ChassisID_Available(bool publish) {
    return Guarded(false, [&] {
        char chassis[kOutSize] = {};
        return Get_Chassis_ID(chassis, publish) == vetter::RET_OK;
    });
}

bool Is_BoardID_Available(bool publish) {
    return Guarded(false, [&] {
        char dnum[kOutSize] = {};
        return Get_Systemboard_D_Nummer(dnum, publish);
    });
}

bool Is_ChassisBoardID_Available(char* data, bool publish) {
    return Guarded(false, [&] {
        if (!data || !*data) return false;
        ConditionLists l = ReadLists(data);
        return identity::DecideBoardAndChassis(
            data, l.boardFound, l.chassisFound, [&] { return Is_BoardID_Available(publish); },
            [&] { return Is_ChassisID_Available(publish); });
    });
}

bool Is_Virtual_Systemboard(bool publish) {
    return Guarded(false, [&] {
        char board[kOutSize] = {};
        if (!Get_Systemboard_Info(board, publish, nullptr)) return false;
        return identity::IsVirtualMachineName(board, true);
    });
}

bool Is_Virtual_Machine(bool publish) {
    return Guarded(false, [&] {
        if (Is_Virtual_Systemboard(publish)) return true;
        char chassis[kOutSize] = {};
        if (Get_Chassis_ID(chassis, publish) != vetter::RET_OK) return false;
        return identity::IsVirtualChassisName(chassis);
    });
}

bool Is_ZR_Chassis(bool publish) {
    return Guarded(false, [&] {
        char chassis[kOutSize] = {};
        if (Get_Native_Chassis_ID(chassis, publish) != vetter::RET_OK) return false;
        return identity::IsZrChassis(chassis);
    });
}

bool Is_Blade_System() {
    return Guarded(false, [] {
        char dnum[kOutSize] = {};
        if (!Get_Systemboard_D_Nummer(dnum, false)) return false;
        if (Read_System_ID_File() != 0) return false;
        return identity::IsBladeByEntries(system_id_entry_list, vetter::SystemIdEntryCount(), dnum);
    });
}
