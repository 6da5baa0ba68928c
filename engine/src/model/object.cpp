#include "model/object.h"

#include <array>
#include <atomic>

namespace model {
namespace {

std::array<std::atomic<int64_t>, static_cast<size_t>(ClassTag::Count_)>& counters() {
    static std::array<std::atomic<int64_t>, static_cast<size_t>(ClassTag::Count_)> counts{};
    return counts;
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
    if (tag != ClassTag::Count_) return counters()[static_cast<size_t>(tag)].load();
    int64_t total = 0;
    for (const auto& c : counters()) total += c.load();
    return total;
}

Object::Object(ClassTag tag) : tag_(tag) { ++counters()[static_cast<size_t>(tag_)]; }

Object::Object(const Object& other) : tag_(other.tag_) {
    ++counters()[static_cast<size_t>(tag_)];
}

Object::~Object() {
    --counters()[static_cast<size_t>(tag_)];
}

}  // namespace model
