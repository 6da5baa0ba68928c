// Storage for engine objects that callers make and destroy by the million, one per vertex read
// back: the blocks of destroyed objects are kept on a list per thread and handed out again, so
// that making one costs no heap allocation once the thread has made a few. A block freed on
// another thread than the one that made it simply joins that thread's list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

#include "model/thread_state.h"

namespace model {

// Arms the drain of the thread's pools at its end (model/pool.cpp).
void arm_pool_drain();

template <std::size_t Size>
class BlockPool {
public:
    static void* take() {
        if (kBypass) return ::operator new(Size);
        PoolList& list = thread_state.pools[kSlot];
        if (list.head == nullptr) return ::operator new(kBlock);
        FreeBlock* block = list.head;
        list.head = block->next;
        --list.kept;
        return block;
    }

    static void give(void* p) noexcept {
        ThreadState& t = thread_state;
        PoolList& list = t.pools[kSlot];
        // A thread keeps a bounded number, and none once its lists have been drained at its end.
        if (kBypass || list.kept >= kKept || t.pools_ended) {
            ::operator delete(p);
            return;
        }
        if (!t.pools_drain_armed) [[unlikely]] arm_pool_drain();
        list.head = new (p) FreeBlock{list.head};
        ++list.kept;
    }

private:
    static_assert(Size >= sizeof(void*));
    // Blocks of sizes within one step share a list, each taking the step's largest size.
    static constexpr std::size_t kSlot = (Size - 1) / kPoolStep;
    static_assert(kSlot < kPoolSizes, "a pooled class larger than the pools' largest size");
    static constexpr std::size_t kBlock = (kSlot + 1) * kPoolStep;
    static constexpr uint32_t kKept = 1024;
#ifdef __SANITIZE_ADDRESS__
    // Under the address sanitizer every object gets its own allocation, so a use after destroy is caught.
    static constexpr bool kBypass = true;
#else
    static constexpr bool kBypass = false;
#endif
};

// The allocation functions of a class whose objects come from its pool; objects of a larger
// derived class fall back to the heap.
#define MODEL_POOLED(Class)                                                                      \
    static void* operator new(std::size_t size) {                                                \
        return size == sizeof(Class) ? ::model::BlockPool<sizeof(Class)>::take() : ::operator new(size); \
    }                                                                                            \
    static void operator delete(void* p, std::size_t size) noexcept {                            \
        if (size == sizeof(Class)) {                                                             \
            ::model::BlockPool<sizeof(Class)>::give(p);                                          \
        } else {                                                                                 \
            ::operator delete(p);                                                                \
        }                                                                                        \
    }

}  // namespace model
