// Identification, management-service and qualification exports whose
// behaviour is not built yet: each gives its "not determined" result, so a
// condition that relies on them answers 0.
#include "vetter/api/exports.h"

namespace {
constexpr int kNotDetermined = 4;
constexpr int kSystemIdFileNotOpened = 50;
bool NotFound(bool* found) {
    if (found) *found = false;
    return false;
}
} // namespace

int Get_CabinetNumber_VTRX(unsigned long*, bool) {
    return kNotDetermined;
}
int Get_BIOS_Version(char*, bool) {
    return kNotDetermined;
}
int Get_XCB_Firmware_VTRX(char*, bool) {
    return kNotDetermined;
}
int Get_XCB_Model_VTRX(char*, bool) {
    return kNotDetermined;
}
int Get_CabinetModel_VTRX(char*, bool) {
    return kNotDetermined;
}
int Get_Chassis_ID_VTRX(char*, bool) {
    return kNotDetermined;
}
int Get_Systemboard_Sachnummer_VTRX(char*, bool) {
    return kNotDetermined;
}
int Get_Systemboard_Model_VTRX(char*, bool) {
    return kNotDetermined;
}

int Read_System_ID_File() {
    return kSystemIdFileNotOpened;
}
bool Get_System_Info_REGISTRY(char*, char*, bool, bool* found) {
    return NotFound(found);
}
int Get_Model_Name(char*, bool) {
    return kNotDetermined;
}
int Get_WMI_Chassis_ID(char*, bool) {
    return kNotDetermined;
}
int Get_SMBIOS_Chassis_ID(char*, bool) {
    return kNotDetermined;
}
int Get_Native_Chassis_ID(char*, bool) {
    return kNotDetermined;
}
int Get_Chassis_ID(char*, bool) {
    return kNotDetermined;
}
int Get_Abstract_Chassis_ID(char*, bool) {
    return kNotDetermined;
}
bool Get_Native_Systemboard_DNumber(char*, bool, bool* found) {
    return NotFound(found);
}
bool Get_WMI_Systemboard_Info(char*, bool, bool* found) {
    return NotFound(found);
}
bool Get_SMBIOS_Systemboard_Info(char*, bool, bool* found) {
    return NotFound(found);
}
bool Get_Systemboard_Info(char*, bool, bool* found) {
    return NotFound(found);
}
bool Get_Systemboard_D_Nummer(char*, bool) {
    return false;
}

bool Is_Valid_System(char*, bool) {
    return false;
}
bool Is_Valid_Chassis(char*, bool) {
    return false;
}
bool Is_Valid_Systemboard(char*, bool) {
    return false;
}
bool Is_ChassisID_Available(bool) {
    return false;
}
bool Is_BoardID_Available(bool) {
    return false;
}
bool Is_ChassisBoardID_Available(char*, bool) {
    return false;
}
bool Is_Virtual_Systemboard(bool) {
    return false;
}
bool Is_Virtual_Machine(bool) {
    return false;
}
bool Is_ZR_Chassis(bool) {
    return false;
}
bool Is_Blade_System() {
    return false;
}
