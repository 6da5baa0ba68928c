#include "model/object.h"

#include <array>
#include <atomic>
#include <mutex>
#include <vector>

namespace model {
namespace {

// Every engine object counts itself in and out. A shared atomic counter would cost each a locked
// instruction twice, which for a point handed out per vertex is a good part of its cost; so each
// thread counts in counters of its own (in model::thread_state), written only by it, and a reader
// adds them all up.
struct Registry {
    std::mutex mutex;
    std::vector<const ObjectCounts*> threads;
    ObjectCounts ended{};  // the counts of threads that ended, and of objects destroyed at a thread's very end
};

// Never destroyed: objects may be destroyed after the end of static objects.
Registry& registry() {
    static Registry* instance = new Registry;
    return *instance;
}

// Takes the thread's counts out of the registry when the thread ends, after which objects still
// destroyed on the thread count in the registry's `ended`.
struct Leave {
    ~Leave() {
        ThreadState& t = thread_state;
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        for (size_t i = 0; i < kClasses; ++i) r.ended[i] += t.counts[i].load(std::memory_order_relaxed);
        std::erase(r.threads, &t.counts);
        t.counts_ended = true;
    }
};

void join(ThreadState& t) {
    {
        std::lock_guard lock(registry().mutex);
        registry().threads.push_back(&t.counts);
    }
    t.counts_joined = true;
    static thread_local Leave leave;
}

constexpr std::array<const char*, static_cast<size_t>(ClassTag::Count_)> kNames = {
    "",
    "Geometry",
    "Segment",
    "GeometryBuilder",
    "MutablePart",
    "ImmutablePart",
    "MutablePartCollection",
    "ImmutablePartCollection",
    "MutablePointCollection",
    "ImmutablePointCollection",
    "SpatialReference",
    "Unit",
    "DatumTransformation",
    "Array",
    "Element",
    "Vector",
    "String",
    "Error",
};

}  // namespace

const char* class_name(ClassTag tag) { return kNames.at(static_cast<size_t>(tag)); }

int64_t live_objects(ClassTag tag) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    int64_t total = 0;
    const auto add = [&](const ObjectCounts& counts) {
        for (size_t i = 0; i < kClasses; ++i)
            if (tag == ClassTag::Count_ || i == static_cast<size_t>(tag)) total += counts[i].load(std::memory_order_relaxed);
    };
    add(r.ended);
    for (const ObjectCounts* counts : r.threads) add(*counts);
    return total;
}

void Object::count_first_or_last(ClassTag tag, int64_t delta) {
    const auto i = static_cast<size_t>(tag);
    ThreadState& t = thread_state;
    if (t.counts_ended) {
        registry().ended[i] += delta;
        return;
    }
    join(t);
    auto& c = t.counts[i];
    c.store(c.load(std::memory_order_relaxed) + delta, std::memory_order_relaxed);
}

}  // namespace model
