#pragma once
// Owner of one COM interface pointer: released on scope exit, never copied.
#include <unknwn.h>

#include <utility>

namespace vetter {

template <typename T> class ComPtr {
  public:
    ComPtr() = default;
    explicit ComPtr(T* p) : p_(p) {}
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) {
            reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }
    // For APIs that hand the interface back through an out parameter.
    T** receive() {
        reset();
        return &p_;
    }
    void** receiveVoid() { return reinterpret_cast<void**>(receive()); }

  private:
    T* p_ = nullptr;
};

} // namespace vetter
