// What each thread keeps for the engine objects it makes: its live-object counts and the free
// blocks of its object pools. One plain value, constant-initialised and alive to the thread's very
// end: the library is loaded at run time, where every thread-local lookup is a call, and an object
// made or destroyed reaches all of it (its count and its block) through a single one.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace model {

enum class ClassTag : uint32_t {
    Geometry = 1,
    Segment,
    GeometryBuilder,
    MutablePart,
    ImmutablePart,
    MutablePartCollection,
    ImmutablePartCollection,
    MutablePointCollection,
    ImmutablePointCollection,
    SpatialReference,
    Unit,
    DatumTransformation,
    Array,
    Element,
    Vector,
    String,
    Error,
    Count_
};

constexpr size_t kClasses = static_cast<size_t>(ClassTag::Count_);
using ObjectCounts = std::array<std::atomic<int64_t>, kClasses>;

// The free blocks of one size: a list threaded through the blocks themselves.
struct FreeBlock {
    FreeBlock* next;
};
struct PoolList {
    FreeBlock* head = nullptr;
    uint32_t kept = 0;
};

// Pools by block size, in steps of kPoolStep bytes.
constexpr size_t kPoolStep = 16;
constexpr size_t kPoolSizes = 16;

struct ThreadState {
    // Written only by this thread; others read them (model::live_objects). Joined to the registry
    // with the first object counted, taken out again when the thread ends.
    ObjectCounts counts{};
    bool counts_joined = false;
    bool counts_ended = false;
    std::array<PoolList, kPoolSizes> pools{};
    bool pools_drain_armed = false;
    bool pools_ended = false;  // drained at the thread's end: blocks given after that go to the heap
};

inline thread_local ThreadState thread_state;

}  // namespace model
