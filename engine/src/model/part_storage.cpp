#include "model/part_storage.h"

#include <new>
#include <utility>

namespace model {
namespace {

// Storage kept for a thread's next part; beyond this many vertices it is freed, so a thread that
// once made a huge part does not hold its memory for good.
constexpr std::size_t kLargestKept = 1 << 16;

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
    if (s.ended || points.capacity() > kLargestKept) return;
    if (s.storage == nullptr) [[unlikely]] {
        s.storage = new (std::nothrow) std::vector<Vertex>;
        if (s.storage == nullptr) return;
        static thread_local Drain drain;
    }
    if (points.capacity() > s.storage->capacity()) *s.storage = std::move(points);
}

}  // namespace model
