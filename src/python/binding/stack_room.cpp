#include "python/binding/stack_room.h"

#include <pthread.h>

#include <algorithm>
#include <cstdint>

namespace binding {

namespace {

struct StackBounds {
    std::uintptr_t low = 0;
    std::uintptr_t high = 0;  // 0: unknown
    std::uintptr_t reserve = 0;
};

StackBounds read_bounds() noexcept {
    StackBounds bounds;
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) != 0) return bounds;
    void* base = nullptr;
    std::size_t size = 0;
    if (pthread_attr_getstack(&attr, &base, &size) == 0 && size != 0) {
        bounds.low = reinterpret_cast<std::uintptr_t>(base);
        bounds.high = bounds.low + size;
        bounds.reserve = std::min<std::uintptr_t>(256 * 1024, size / 4);
    }
    pthread_attr_destroy(&attr);
    return bounds;
}

}  // namespace

bool stack_has_room() noexcept {
    thread_local const StackBounds bounds = read_bounds();
    int marker = 0;
    const auto here = reinterpret_cast<std::uintptr_t>(&marker);
    if (bounds.high == 0 || here < bounds.low || here >= bounds.high) return true;
    return here - bounds.low >= bounds.reserve;
}

}  // namespace binding
