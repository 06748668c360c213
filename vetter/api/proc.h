#pragma once
// Entry points looked up by name into a typed function pointer; null when absent.
#include <windows.h>

namespace vetter {

template <typename Fn> Fn ProcAddress(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace vetter
