#include "model/part_storage.h"

#include <new>
#include <utility>

namespace model {
namespace {

// Storage of up to this many vertices is kept for a thread's next part whatever the part used.
constexpr std::size_t kAlwaysKept = 1 << 16;
// Larger storage is kept only while it was mostly used, and never beyond this bound (64 MiB): a
// thread converting one large geometry after another refills the same memory instead of having
// it mapped, faulted in and handed back on every call, yet a thread that made a huge part once
// frees it at its next smaller part (which takes the storage and leaves most of it unused).
constexpr std::size_t kLargestKept = 1 << 21;

bool worth_keeping(const std::vector<Vertex>& points) {
    const std::size_t room = points.capacity();
    return room <= kAlwaysKept || (room <= kLargestKept && room / 2 <= points.size());
}

// A plain value, constant-initialised and alive to the thread's very end, so that reaching it costs
// one thread-local lookup and no initialisation check (the library is loaded at run time, where
// each lookup is a call). The storage is made when a part first leaves some, and freed by the
// thread-local `Drain` below; a part destroyed after that (by another thread-local's destructor)
// finds `ended` and keeps nothing.
struct Spare {
    std::vector<Vertex>* storage = nullptr;
    bool ended = false;
};

thread_local Spare spare;

struct Drain {
    ~Drain() {
        delete std::exchange(spare.storage, nullptr);
        spare.ended = true;
    }
};

}  // namespace

std::vector<Vertex> reused_vertex_storage() {
    std::vector<Vertex>* kept = spare.storage;
    if (kept == nullptr) return {};
    std::vector<Vertex> storage = std::exchange(*kept, {});
    storage.clear();
    return storage;
}

void keep_vertex_storage(std::vector<Vertex>&& points) noexcept {
    Spare& s = spare;
    if (s.ended || !worth_keeping(points)) return;
    if (s.storage == nullptr) [[unlikely]] {
        s.storage = new (std::nothrow) std::vector<Vertex>;
        if (s.storage == nullptr) return;
        static thread_local Drain drain;
    }
    if (points.capacity() > s.storage->capacity()) *s.storage = std::move(points);
}

}  // namespace model
