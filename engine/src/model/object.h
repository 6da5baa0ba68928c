// The common base of every engine object behind a handle: a class tag checked on every use, so a
// handle of the wrong class is an engine error, and live-object counts per class for the leak
// checks of the tests. A handle used after its destroy is the caller's error and is not detected:
// its memory is gone, and a registry of live objects would cost every call a lock and still
// accept an address that a newer object of the same class has taken.
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

private:
    ClassTag tag_;
};

}  // namespace model
