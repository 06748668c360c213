// The export table, the protocol and the condition dispatch.
#include "tests/native/vetter/vetter_export_names.h"
#include "tests/win/vetter/registry_fixtures.h"
#include "tests/win/vetter/vetter_dll.h"

#include <iterator>
#include <set>
#include <string>

namespace {

using namespace vettertest;

std::set<std::string> LoadedExportNames(HMODULE module) {
    auto base = reinterpret_cast<const BYTE*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::set<std::string> out;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        out.insert(reinterpret_cast<const char*>(base + names[i]));
    return out;
}

TEST(VetterExports, TableHasExactlyTheNamesAndEachResolves) {
    HMODULE module = VetterDll::Get().module();
    ASSERT_NE(module, nullptr) << "Vetter.dll (and HwProbe.dll beside it) must load";
    std::set<std::string> expected(std::begin(kVetterExportNames), std::end(kVetterExportNames));
    EXPECT_EQ(LoadedExportNames(module), expected);
    for (const char* name : kVetterExportNames)
        EXPECT_NE(GetProcAddress(module, name), nullptr) << name;
}

TEST(VetterExports, VersionClassAndVariables) {
    EXPECT_EQ(Export<IntFn>("GetDllVersion")(), 11105);
    EXPECT_EQ(Export<IntFn>("?fnVetter@@YAHXZ")(), 42);
    using CtorFn = void* (*)(void*);
    char object[8] = {};
    EXPECT_EQ(Export<CtorFn>("??0CVetter@@QAE@XZ")(object), object); // hands the object back
    using AssignFn = void* (*)(void*, const void*);
    char other[8] = {};
    EXPECT_EQ(Export<AssignFn>("??4CVetter@@QAEAAV0@ABV0@@Z")(object, other), object);

    auto& dll = VetterDll::Get();
    EXPECT_EQ(*dll.Var<int>("?VerboseLevel@@3HA"), 6);
    EXPECT_EQ(*dll.Var<int>("?nVetter@@3HA"), 0);
    EXPECT_FALSE(*dll.Var<bool>("?ExternalDebugControl@@3_NA"));
    EXPECT_FALSE(*dll.Var<bool>("?IDsFromRegistry@@3_NA"));
    EXPECT_EQ(*dll.Var<void*>("?system_id_entry_list@@3PAPAUsystem_id_file_entry@@A"), nullptr);
    EXPECT_EQ(*dll.Var<void*>("?fc_config_entry_list@@3PAPAUfc_config_file_entry@@A"), nullptr);
    EXPECT_EQ(*dll.Var<void*>("?fc_ctrl_info_list@@3PAPAUfc_ctrl_info@@A"), nullptr);
}

TEST(VetterExports, Aliases) {
    using AliasFn = char* (*)(unsigned, char*);
    auto condition = Export<AliasFn>("GetConditionAlias");
    auto execution = Export<AliasFn>("GetExecutionAlias");
    const char* conditions[] = {"Valid System ?",
                                "Chassis and/or D-Number found ?",
                                "Is VTRX available ?",
                                "Is WinPE OS ?",
                                "Valid Windows ?",
                                "Is W2K8 R2 OS ?",
                                "Is Blade System ?",
                                "Is Virtual Machine ?",
                                "Is Competing Application installed ?"};
    const char* executions[] = {"Extract File",        "Create bx.arg File",
                                "Extract bx.par File", "Extract rel_note.txt File",
                                "Display String",      "Show Help"};
    char buffer[64];
    for (unsigned i = 0; i < 9; ++i) {
        ASSERT_EQ(condition(i, buffer), buffer);
        EXPECT_STREQ(buffer, conditions[i]);
    }
    for (unsigned i = 0; i < 6; ++i) {
        ASSERT_EQ(execution(i, buffer), buffer);
        EXPECT_STREQ(buffer, executions[i]);
    }
    strcpy(buffer, "untouched");
    EXPECT_EQ(condition(9, buffer), nullptr);
    EXPECT_EQ(condition(static_cast<unsigned>(-1), buffer), nullptr);
    EXPECT_EQ(execution(6, buffer), nullptr);
    EXPECT_STREQ(buffer, "untouched");
}

TEST(VetterExports, ConditionDispatch) {
    RegistryWindowsVersion version("6.3", "9600");
    struct Case {
        int index;
        const char* data;
        int expected;
    } cases[] = {
        {0, "chassis=", 0}, // no quoted value, no board key
        {4, "winminver=\"6.1\"", 1},
        {4, "winmaxver=\"6.2.9200\"", 0},
        {4, "winminver=\"6.3.9600\" winmaxver=\"6.3.9600\"", 1},
        {8, "appname=\"OTHER\" rivappname=\"HOSTMON\"", 0},
        {2, "", 0}, // nothing installed in the prefix
        {6, "", 0},
        {7, "", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Condition(c.index, c.data), c.expected) << c.data;
    // Null data is a failed evaluation, not a crash.
    auto fn = Export<ConditionFn>("GetCondition_4");
    EXPECT_EQ(fn(nullptr, nullptr, nullptr), 0);
}

} // namespace
