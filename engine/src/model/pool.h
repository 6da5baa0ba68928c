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
        State& s = state_;
        if (kBypass || s.head == nullptr) return ::operator new(Size);
        Free* block = s.head;
        s.head = block->next;
        --s.kept;
        return block;
    }

    static void give(void* p) noexcept {
        State& s = state_;
        // A thread keeps a bounded number, and none once its list has been drained at its end.
        if (kBypass || s.kept >= kKept || s.ended) {
            ::operator delete(p);
            return;
        }
        if (!s.drains) [[unlikely]] {
            s.drains = true;
            arm_drain();
        }
        s.head = new (p) Free{s.head};
        ++s.kept;
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
    // A plain value, constant-initialised and alive to the thread's very end, so that reaching it
    // costs no initialisation check, and an object destroyed after the drain (by another
    // thread-local's destructor) still finds `ended`.
    struct State {
        Free* head = nullptr;
        uint32_t kept = 0;
        bool drains = false;  // the drain below is armed
        bool ended = false;
    };
    struct Drain {
        ~Drain() {
            State& s = state_;
            while (s.head != nullptr) ::operator delete(std::exchange(s.head, s.head->next));
            s.kept = 0;
            s.ended = true;
        }
    };

    // The list is drained when the thread ends; armed by the first block kept.
    static void arm_drain() { static thread_local Drain drain; }

    static inline thread_local State state_;
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
