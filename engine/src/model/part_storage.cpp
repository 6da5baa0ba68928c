#include "model/part_storage.h"

#include <utility>

namespace model {
namespace {

// Storage kept for a thread's next part; beyond this many vertices it is freed, so a thread that
// once made a huge part does not hold its memory for good.
constexpr std::size_t kLargestKept = 1 << 16;

// A plain value, alive to the thread's very end: a part destroyed after the spare storage (by
// another thread-local's destructor) finds it gone and keeps nothing.
thread_local bool spare_ended = false;

struct Spare {
    std::vector<Vertex> storage;
    ~Spare() { spare_ended = true; }
};

std::vector<Vertex>* spare() {
    if (spare_ended) return nullptr;
    static thread_local Spare kept;
    return &kept.storage;
}

}  // namespace

std::vector<Vertex> reused_vertex_storage() {
    std::vector<Vertex>* kept = spare();
    if (kept == nullptr) return {};
    std::vector<Vertex> storage = std::exchange(*kept, {});
    storage.clear();
    return storage;
}

void keep_vertex_storage(std::vector<Vertex>&& points) noexcept {
    std::vector<Vertex>* kept = spare();
    if (kept == nullptr || points.capacity() > kLargestKept || points.capacity() <= kept->capacity()) return;
    *kept = std::move(points);
}

}  // namespace model
