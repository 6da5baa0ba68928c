// Storage for engine objects that callers make and destroy by the million, one per vertex read
// back: the blocks of destroyed objects are kept on a list per thread and handed out again, so
// that making one costs no heap allocation once the thread has made a few. A block freed on
// another thread than the one that made it simply joins that thread's list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace model {

template <std::size_t Size>
class BlockPool {
public:
    static void* take() {
        if (kBypass || head_ == nullptr) return ::operator new(Size);
        Free* block = head_;
        head_ = block->next;
        --kept_;
        return block;
    }

    static void give(void* p) noexcept {
        // A thread keeps a bounded number, and none once its list has been drained at its end.
        if (kBypass || kept_ >= kKept || ended_) {
            ::operator delete(p);
            return;
        }
        (void)&drain_;  // the list is drained when the thread ends
        head_ = new (p) Free{head_};
        ++kept_;
    }

private:
    static_assert(Size >= sizeof(void*));
    static constexpr uint32_t kKept = 1024;
#ifdef __SANITIZE_ADDRESS__
    // Under the address sanitizer every object gets its own allocation, so a use after destroy is caught.
    static constexpr bool kBypass = true;
#else
    static constexpr bool kBypass = false;
#endif

    struct Free {
        Free* next;
    };
    struct Drain {
        ~Drain() {
            while (head_ != nullptr) ::operator delete(std::exchange(head_, head_->next));
            kept_ = 0;
            ended_ = true;
        }
    };

    // Plain values, alive to the thread's very end, so an object destroyed after the drain (by
    // another thread-local's destructor) still finds `ended_`.
    static inline thread_local Free* head_ = nullptr;
    static inline thread_local uint32_t kept_ = 0;
    static inline thread_local bool ended_ = false;
    static inline thread_local Drain drain_;
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
