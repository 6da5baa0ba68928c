// The common base of every engine object behind a handle: a class tag checked on every use, so a
// handle of the wrong class is an engine error, and live-object counts per class for the leak
// checks of the tests. A handle used after its destroy is the caller's error and is not detected:
// its memory is gone, and a registry of live objects would cost every call a lock and still
// accept an address that a newer object of the same class has taken.
#pragma once

#include <cstdint>

#include "model/thread_state.h"

namespace model {


const char* class_name(ClassTag tag);

// Live objects of one class; of all classes when `tag` is Count_.
int64_t live_objects(ClassTag tag);

class Object {
public:
    // Inline with the count, so that making or destroying an object of a pooled class looks the
    // thread's state up once for the count and the block together.
    explicit Object(ClassTag tag) : tag_(tag) { count(tag_, 1); }
    Object(const Object& other) : tag_(other.tag_) { count(tag_, 1); }
    Object& operator=(const Object&) { return *this; }
    virtual ~Object() { count(tag_, -1); }

    ClassTag tag() const { return tag_; }

private:
    static void count(ClassTag tag, int64_t delta) {
        ThreadState& t = thread_state;
        if (!t.counts_joined || t.counts_ended) [[unlikely]] return count_first_or_last(tag, delta);
        auto& c = t.counts[static_cast<size_t>(tag)];
        c.store(c.load(std::memory_order_relaxed) + delta, std::memory_order_relaxed);
    }
    // The count of a thread's first object (which joins the registry) or of one destroyed after the
    // thread's counts were taken out of it.
    static void count_first_or_last(ClassTag tag, int64_t delta);

    ClassTag tag_;
};

}  // namespace model
