#pragma once
// One small owner per Win32 handle kind: closes on scope exit, moves, never copies.
#include <windows.h>

#include <utility>

namespace win {

template <typename H, typename Traits> class Owned {
public:
    Owned() = default;
    explicit Owned(H h) : h_(h) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& o) noexcept : h_(o.release()) {}
    Owned& operator=(Owned&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }

    H get() const { return h_; }
    explicit operator bool() const { return Traits::valid(h_); }
    H release() { return std::exchange(h_, Traits::none()); }
    void reset(H h = Traits::none()) {
        if (Traits::valid(h_)) Traits::close(h_);
        h_ = h;
    }
    // For APIs that return the handle through an out parameter.
    H* receive() {
        reset();
        return &h_;
    }

private:
    H h_ = Traits::none();
};

struct HandleTraits { // process, thread, event, mapping: NULL when absent
    static HANDLE none() { return nullptr; }
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};
struct FileTraits : HandleTraits { // CreateFile: INVALID_HANDLE_VALUE when absent
    static HANDLE none() { return INVALID_HANDLE_VALUE; }
};
struct FindTraits {
    static HANDLE none() { return INVALID_HANDLE_VALUE; }
    static bool valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void close(HANDLE h) { FindClose(h); }
};
struct RegKeyTraits {
    static HKEY none() { return nullptr; }
    static bool valid(HKEY h) { return h != nullptr; }
    static void close(HKEY h) { RegCloseKey(h); }
};
struct ModuleTraits {
    static HMODULE none() { return nullptr; }
    static bool valid(HMODULE h) { return h != nullptr; }
    static void close(HMODULE h) { FreeLibrary(h); }
};
struct GdiTraits {
    static HGDIOBJ none() { return nullptr; }
    static bool valid(HGDIOBJ h) { return h != nullptr; }
    static void close(HGDIOBJ h) { DeleteObject(h); }
};
struct GlobalAtomTraits {
    static ATOM none() { return 0; }
    static bool valid(ATOM a) { return a != 0; }
    static void close(ATOM a) { GlobalDeleteAtom(a); }
};

using Handle = Owned<HANDLE, HandleTraits>;
using File = Owned<HANDLE, FileTraits>;
using FindHandle = Owned<HANDLE, FindTraits>;
using RegKey = Owned<HKEY, RegKeyTraits>;
using Module = Owned<HMODULE, ModuleTraits>;
using GdiObject = Owned<HGDIOBJ, GdiTraits>;
using GlobalAtom = Owned<ATOM, GlobalAtomTraits>;

} // namespace win
