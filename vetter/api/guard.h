#pragma once
// No exception crosses an export: each export body runs through Guarded.
namespace vetter {

template <typename R, typename F> R Guarded(R fallback, F&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

template <typename F> void GuardedVoid(F&& body) noexcept {
    try {
        body();
    } catch (...) {
    }
}

} // namespace vetter
