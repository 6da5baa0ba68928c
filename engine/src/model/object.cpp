#include "model/object.h"

#include <array>
#include <atomic>
#include <mutex>
#include <vector>

namespace model {
namespace {

constexpr size_t kClasses = static_cast<size_t>(ClassTag::Count_);
using Counts = std::array<std::atomic<int64_t>, kClasses>;

// Every engine object counts itself in and out. A shared atomic counter would cost each a locked
// instruction twice, which for a point handed out per vertex is a good part of its cost; so each
// thread counts in counters of its own, written only by it, and a reader adds them all up.
struct Registry {
    std::mutex mutex;
    std::vector<const Counts*> threads;
    Counts ended{};  // the counts of threads that ended, and of objects destroyed at a thread's very end
};

// Never destroyed: objects may be destroyed after the end of static objects.
Registry& registry() {
    static Registry* instance = new Registry;
    return *instance;
}

struct ThreadCounts {
    Counts counts{};
    ThreadCounts() {
        std::lock_guard lock(registry().mutex);
        registry().threads.push_back(&counts);
    }
    ~ThreadCounts();
};

// A plain value, alive to the thread's very end: objects destroyed after its counts are gone count in
// the registry's.
thread_local bool counts_ended = false;
thread_local ThreadCounts thread_counts;

ThreadCounts::~ThreadCounts() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    for (size_t i = 0; i < kClasses; ++i) r.ended[i] += counts[i].load(std::memory_order_relaxed);
    std::erase(r.threads, &counts);
    counts_ended = true;
}

void count(ClassTag tag, int64_t delta) {
    const auto i = static_cast<size_t>(tag);
    if (counts_ended) {
        registry().ended[i] += delta;
        return;
    }
    auto& c = thread_counts.counts[i];
    c.store(c.load(std::memory_order_relaxed) + delta, std::memory_order_relaxed);
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
    const auto add = [&](const Counts& counts) {
        for (size_t i = 0; i < kClasses; ++i)
            if (tag == ClassTag::Count_ || i == static_cast<size_t>(tag)) total += counts[i].load(std::memory_order_relaxed);
    };
    add(r.ended);
    for (const Counts* counts : r.threads) add(*counts);
    return total;
}

Object::Object(ClassTag tag) : tag_(tag) { count(tag_, 1); }

Object::Object(const Object& other) : tag_(other.tag_) { count(tag_, 1); }

Object::~Object() { count(tag_, -1); }

}  // namespace model
