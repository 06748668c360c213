#pragma once
// The plug-in under test, copied with its hardware-information stand-in into
// a folder of this program's own, so the system-ID file written beside it
// reaches no other test program. Reached only through exports found by name.
#include "tests/support/wine_test_support.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace v2 {

class Plugin {
  public:
    static Plugin& Get();
    HMODULE module() const { return module_; }
    const std::string& folder() const { return dir_.path(); }
    FARPROC Proc(const char* name) const { return GetProcAddress(module_, name); }

  private:
    Plugin();
    ~Plugin();
    testsupport::TempDir dir_;
    HMODULE module_ = nullptr;
};

template <typename Fn> Fn Export(const char* name) {
    Fn fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(Plugin::Get().Proc(name)));
    EXPECT_NE(fn, nullptr) << name;
    return fn;
}
template <typename T> T& Var(const char* name) {
    return *reinterpret_cast<T*>(Plugin::Get().Proc(name));
}

// The decorated names used here.
using TextIntFn = int (*)(char*, bool);
using TextBoolFn = bool (*)(char*, bool);
using BoardFn = bool (*)(char*, bool, bool*);
using RegistryFn = bool (*)(char*, char*, bool, bool*);
using PublishBoolFn = bool (*)(bool);
using NoArgBoolFn = bool (*)();
using NoArgIntFn = int (*)();
constexpr const char kGetModelName[] = "?Get_Model_Name@@YAHPAD_N@Z";
constexpr const char kGetWmiChassis[] = "?Get_WMI_Chassis_ID@@YAHPAD_N@Z";
constexpr const char kGetNativeChassis[] = "?Get_Native_Chassis_ID@@YAHPAD_N@Z";
constexpr const char kGetChassis[] = "?Get_Chassis_ID@@YAHPAD_N@Z";
constexpr const char kGetAbstractChassis[] = "?Get_Abstract_Chassis_ID@@YAHPAD_N@Z";
constexpr const char kGetBoardInfo[] = "?Get_Systemboard_Info@@YA_NPAD_NPA_N@Z";
constexpr const char kGetDNumber[] = "?Get_Systemboard_D_Nummer@@YA_NPAD_N@Z";
constexpr const char kGetRegistry[] = "?Get_System_Info_REGISTRY@@YA_NPAD0_NPA_N@Z";
constexpr const char kReadSystemIdFile[] = "?Read_System_ID_File@@YAHXZ";
constexpr const char kIsValidSystem[] = "?Is_Valid_System@@YA_NPAD_N@Z";
constexpr const char kIsZrChassis[] = "?Is_ZR_Chassis@@YA_N_N@Z";
constexpr const char kIsBlade[] = "?Is_Blade_System@@YA_NXZ";
constexpr const char kIDsFromRegistry[] = "?IDsFromRegistry@@3_NA";
constexpr const char kSystemIdList[] = "?system_id_entry_list@@3PAPAUsystem_id_file_entry@@A";

// A text export called with a 512-byte output: result and text.
struct TextAnswer {
    int result;
    std::string text;
};
TextAnswer CallText(const char* name, bool publish);

int Condition(int index, const std::string& data);

// Environment variables the plug-in publishes; "<unset>" when absent.
std::string Env(const char* name);
void ClearPublished();

// Entries in the exported system-ID list.
size_t SystemIdEntries();

} // namespace v2
