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

// A thread's counters: a plain value, constant-initialised and alive to the thread's very end, so
// that reaching it costs no initialisation check. It joins the registry when the thread counts its
// first object; the thread-local `Leave` below takes it out again when the thread ends, after which
// objects still destroyed on the thread count in the registry's `ended`.
struct ThreadCounts {
    Counts counts{};
    bool joined = false;
    bool ended = false;
};

thread_local ThreadCounts thread_counts;

struct Leave {
    ~Leave() {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        for (size_t i = 0; i < kClasses; ++i) r.ended[i] += thread_counts.counts[i].load(std::memory_order_relaxed);
        std::erase(r.threads, &thread_counts.counts);
        thread_counts.ended = true;
    }
};

void join(ThreadCounts& t) {
    {
        std::lock_guard lock(registry().mutex);
        registry().threads.push_back(&t.counts);
    }
    t.joined = true;
    static thread_local Leave leave;
}

void count(ClassTag tag, int64_t delta) {
    const auto i = static_cast<size_t>(tag);
    ThreadCounts& t = thread_counts;
    if (t.ended) [[unlikely]] {
        registry().ended[i] += delta;
        return;
    }
    if (!t.joined) [[unlikely]] join(t);
    auto& c = t.counts[i];
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
