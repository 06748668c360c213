#pragma once
// The plug-in under test, loaded from the build's dist folder and reached
// only through its exports found by name, as the setup engine reaches it.
#include "tests/support/wine_test_support.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace vettertest {

class VetterDll {
  public:
    static VetterDll& Get() {
        static VetterDll dll;
        return dll;
    }
    HMODULE module() const { return module_; }
    template <typename Fn> Fn Fn_(const char* name) const {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }
    template <typename T> T* Var(const char* name) const {
        return reinterpret_cast<T*>(GetProcAddress(module_, name));
    }

  private:
    VetterDll() {
        std::string path = testsupport::DistDir() + "\\Vetter.dll";
        // Its own folder is searched for HwProbe.dll.
        module_ = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    HMODULE module_ = nullptr;
};

// An export looked up by name; fails the test when it is missing.
template <typename Fn> Fn Export(const char* name) {
    Fn fn = VetterDll::Get().Fn_<Fn>(name);
    EXPECT_NE(fn, nullptr) << name;
    return fn;
}

using BoolFn = bool (*)();
using TextBoolFn = bool (*)(char*);
using IntFn = int (*)();
using ConditionFn = int (*)(void*, void*, char*);
using ExecutionFn = int (*)(void*, void*, char*, char*);
using RegReadFn = int (*)(char*, char*, int, void*, unsigned);

inline int Condition(int index, const std::string& data) {
    auto fn = Export<ConditionFn>(("GetCondition_" + std::to_string(index)).c_str());
    std::string copy = data;
    return fn ? fn(nullptr, nullptr, &copy[0]) : -1;
}

// Writable argument texts, as the engine passes them.
inline int Execution(int index, const char* a, const char* b) {
    auto fn = Export<ExecutionFn>(("SetExecution_" + std::to_string(index)).c_str());
    std::string ca = a ? a : "", cb = b ? b : "";
    return fn ? fn(nullptr, nullptr, a ? &ca[0] : nullptr, b ? &cb[0] : nullptr) : -1;
}

} // namespace vettertest
