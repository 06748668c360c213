#pragma once
// Every export of the plug-in with the signature the setup engine calls.
// The 18 protocol functions and the variables have C names; the others are
// exported under the compiler decoration of these C++ signatures through
// Vetter.def (MinGW's own mangling is not what the engine looks up).
#include <cstdio>

#if defined(__i386__)
#define VETTER_THISCALL __attribute__((thiscall))
#else
#define VETTER_THISCALL
#endif

struct system_id_file_entry;
struct fc_config_file_entry;
struct fc_ctrl_info;
struct fc_port_info;
struct fc_scsi_inquiry;
struct HBA_wwn;

extern "C" {
// Exported switches and lists (decorated names in the .def).
extern bool ExternalDebugControl;
extern bool PrintDebugOnScreen;
extern bool IDsFromRegistry;
extern int VerboseLevel;
extern int nVetter;
extern system_id_file_entry** system_id_entry_list;
extern fc_config_file_entry** fc_config_entry_list;
extern fc_ctrl_info** fc_ctrl_info_list;

int GetDllVersion();
char* GetConditionAlias(unsigned index, char* buffer);
char* GetExecutionAlias(unsigned index, char* buffer);
int GetCondition_0(void* x, void* y, char* data);
int GetCondition_1(void* x, void* y, char* data);
int GetCondition_2(void* x, void* y, char* data);
int GetCondition_3(void* x, void* y, char* data);
int GetCondition_4(void* x, void* y, char* data);
int GetCondition_5(void* x, void* y, char* data);
int GetCondition_6(void* x, void* y, char* data);
int GetCondition_7(void* x, void* y, char* data);
int GetCondition_8(void* x, void* y, char* data);
int SetExecution_0(void* x, void* y, char* a, char* b);
int SetExecution_1(void* x, void* y, char* a, char* b);
int SetExecution_2(void* x, void* y, char* a, char* b);
int SetExecution_3(void* x, void* y, char* a, char* b);
int SetExecution_4(void* x, void* y, char* a, char* b);
int SetExecution_5(void* x, void* y, char* a, char* b);
}

// The exported class: empty; its members use the member calling convention.
class CVetter {
  public:
    CVetter();
    CVetter& operator=(const CVetter&);
};
// The constructor as the engine calls it: object in ECX, object returned.
extern "C" CVetter* VETTER_THISCALL CVetter_Construct(CVetter* self);
extern "C" CVetter* VETTER_THISCALL CVetter_Assign(CVetter* self, const CVetter* other);

int fnVetter();

// Diagnostics
void PrintDLLVersion();
bool PrintDebug(int level, char* text, FILE* file);
FILE* OpenDebugFile();
int CloseDebugFile(int mode);
int OldTestFunction();

// Executions
bool DLL_FindFirstFile(char* pattern, char* name);

// Windows version
int GetWindowsVersion(int* major, int* minor, int* build);
bool Get_Windows_Version_Info_REGISTRY(char* out);
bool Is_GreaterEqual_WinMinVer(char* version);
bool Is_LessEqual_WinMaxVer(char* version);
bool Is_Valid_Windows(char* data);
bool isWindows2008R2();
bool isWindows2012();
bool isWindows2012R2();
bool isOSTypeX86();
bool isOSTypeX64();
bool Is_WinPE_OS();
bool Is_WinXP_OS();
bool Is_Win2000_OS();
bool Is_Win2008R2_OS();
bool Is_Win2012_OS();
bool Is_Win2012R2_OS();

// Registry
int getRegistryValue(char* key, char* name, int type, void* out, unsigned size);
int getSubKeyValue(char* key, char* name, int type, void* out, unsigned size);
int getSubKeyValue_X64(char* key, char* name, int type, void* out, unsigned size);
bool checkNVXkey();
bool createNVXkey();
bool checkKLRkey();
bool createKLRkey();

// Installed products
int GetNTAgentsVersion(char* code, char* version, bool publish, char* product);
int GetMOBAVersion(char* code, char* version, bool publish);
int GetAppVersion(char* code, char* version);
int Is_VTRX_available(bool publish);
int Is_HOSTMON_available(bool publish, char* product);
int Is_MOBA_available(bool publish);
int CheckForRivalApplication(char* data);

// Drive encryption
int CheckBitLocker();

// Management interface
int Get_CabinetNumber_VTRX(unsigned long* number, bool publish);
int Get_BIOS_Version(char* out, bool publish);
int Get_XCB_Firmware_VTRX(char* out, bool publish);
int Get_XCB_Model_VTRX(char* out, bool publish);
int Get_CabinetModel_VTRX(char* out, bool publish);
int Get_Chassis_ID_VTRX(char* out, bool publish);
int Get_Systemboard_Sachnummer_VTRX(char* out, bool publish);
int Get_Systemboard_Model_VTRX(char* out, bool publish);

// Identity
int Read_System_ID_File();
bool Get_System_Info_REGISTRY(char* name, char* out, bool publish, bool* found);
int Get_Model_Name(char* out, bool publish);
int Get_WMI_Chassis_ID(char* out, bool publish);
int Get_SMBIOS_Chassis_ID(char* out, bool publish);
int Get_Native_Chassis_ID(char* out, bool publish);
int Get_Chassis_ID(char* out, bool publish);
int Get_Abstract_Chassis_ID(char* out, bool publish);
bool Get_Native_Systemboard_DNumber(char* out, bool publish, bool* found);
bool Get_WMI_Systemboard_Info(char* out, bool publish, bool* found);
bool Get_SMBIOS_Systemboard_Info(char* out, bool publish, bool* found);
bool Get_Systemboard_Info(char* out, bool publish, bool* found);
bool Get_Systemboard_D_Nummer(char* out, bool publish);

// Rules
bool Is_Valid_System(char* data, bool publish);
bool Is_Valid_Chassis(char* list, bool publish);
bool Is_Valid_Systemboard(char* list, bool publish);
bool Is_ChassisID_Available(bool publish);
bool Is_BoardID_Available(bool publish);
bool Is_ChassisBoardID_Available(char* data, bool publish);
bool Is_Virtual_Systemboard(bool publish);
bool Is_Virtual_Machine(bool publish);
bool Is_ZR_Chassis(bool publish);
bool Is_Blade_System();

// FC inventory
int Get_FC_Ctrl_Peripherals();
int Read_FC_Config_File(char* path);
char* PrintWWN(HBA_wwn* wwn, char* out);
int string2int(char* text, int base);
fc_ctrl_info* get_new_ctrl_info_entry();
fc_port_info* get_new_port_info_entry();
fc_scsi_inquiry* get_new_inquiry_entry();
