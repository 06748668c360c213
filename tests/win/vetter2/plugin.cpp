#include "tests/win/vetter2/plugin.h"

#include <vector>

namespace v2 {

Plugin& Plugin::Get() {
    static Plugin plugin;
    return plugin;
}

Plugin::Plugin() {
    for (const char* file : {"Vetter.dll", "HwProbe.dll"}) {
        std::string from = testsupport::DistDir() + "\\" + file;
        CopyFileA(from.c_str(), dir_.file(file).c_str(), FALSE);
    }
    module_ =
        LoadLibraryExA(dir_.file("Vetter.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

Plugin::~Plugin() {
    // The folder goes only after the DLLs are unloaded.
    if (module_) FreeLibrary(module_);
    if (HMODULE probe = GetModuleHandleA("HwProbe.dll")) FreeLibrary(probe);
}

TextAnswer CallText(const char* name, bool publish) {
    auto fn = Export<TextIntFn>(name);
    char out[512] = {};
    int r = fn ? fn(out, publish) : -1;
    return {r, out};
}

int Condition(int index, const std::string& data) {
    using ConditionFn = int (*)(void*, void*, char*);
    auto fn = Export<ConditionFn>(("GetCondition_" + std::to_string(index)).c_str());
    std::string copy = data;
    return fn ? fn(nullptr, nullptr, &copy[0]) : -1;
}

std::string Env(const char* name) {
    char value[1024];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    if (n == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return "<unset>";
    return std::string(value, n < sizeof value ? n : 0);
}

void ClearPublished() {
    for (const char* name : {"CHASSISID", "CHASSISMODEL", "SACHNUMMER", "SYSTEMMODEL"}) {
        std::string pair = std::string(name) + "=";
        _putenv(pair.c_str()); // the runtime's copy and the process environment
        SetEnvironmentVariableA(name, nullptr);
    }
}

size_t SystemIdEntries() {
    void** list = Var<void**>(kSystemIdList);
    size_t n = 0;
    while (list && list[n])
        ++n;
    return n;
}

} // namespace v2
