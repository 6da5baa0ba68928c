// The common base of every engine object behind a handle: a class tag checked on every use, so a
// handle of the wrong class (or a stale one) is an engine error instead of undefined behaviour,
// and live-object counts per class for the leak checks of the tests.
#pragma once

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

const char* class_name(ClassTag tag);

// Live objects of one class; of all classes when `tag` is Count_.
int64_t live_objects(ClassTag tag);

class Object {
public:
    explicit Object(ClassTag tag);
    Object(const Object& other);
    Object& operator=(const Object&) { return *this; }
    virtual ~Object();

    ClassTag tag() const { return tag_; }
    bool is_alive() const { return magic_ == kAlive; }

private:
    static constexpr uint32_t kAlive = 0x4B584F42;  // "KXOB"
    uint32_t magic_;
    ClassTag tag_;
};

}  // namespace model
