// The read-only list of the points of a multipoint or of a part.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "geometry/point.h"

namespace geometry::immutable_point_collection_iter {
class ImmutablePointIntoIter;
}

namespace geometry::immutable_point_collection {

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class ImmutablePointCollection
    : public handle::Owner<ImmutablePointCollection, &bindings::CorvaneFFI::KX_ImmutablePointCollection_destroy,
                           "ImmutablePointCollection", "ImmutablePointCollection"> {
public:
    using BasicOwner::BasicOwner;

    uint64_t size() const;
    // The index goes to the engine untested; its error is returned.
    Result<point::Point> get_point(uint64_t index) const;
    immutable_point_collection_iter::ImmutablePointIntoIter into_iter() &&;

    // Every point in order, as `into_iter` and the point getters give it (a point handed out, x
    // and y read, z and m only where asked, the point destroyed), the calls sharing one error record:
    // `f(x, y, z, m)`, z and m NaN where not asked. Each engine error is the stop that call has.
    template <typename F>
    void for_each_vertex(bool has_z, bool has_m, F&& f) const;
};

// The stop of a point that the engine would not hand out.
inline constexpr char kPointIndexOutOfRange[] = "Internal error: Index of point out of range";

template <typename F>
void ImmutablePointCollection::for_each_vertex(bool has_z, bool has_m, F&& f) const {
    const auto& engine = bindings::ffi();
    const uint64_t count = size();
    std::optional<Error> slot;
    const KX_ErrorCallbackRecord record{&write_error, &slot};
    const auto read = [&](auto getter, KX_GeometryHandle point, std::string_view name) {
        const double value = getter(point, &record);
        if (slot) [[unlikely]] stop_unexpected(name, *slot);
        return value;
    };
    for (uint64_t i = 0; i < count; ++i) {
        KX_GeometryHandle handed = engine.KX_ImmutablePointCollection_getPoint(handle(), i, &record);
        if (slot) [[unlikely]] stop_with(kPointIndexOutOfRange, *slot);
        const point::Point point = point::Point::from_handle(handed);
        const double x = read(engine.KX_Point_getX, handed, ENGINE_FUNCTION_NAME(Point_getX));
        const double y = read(engine.KX_Point_getY, handed, ENGINE_FUNCTION_NAME(Point_getY));
        const double z = has_z ? read(engine.KX_Point_getZ, handed, ENGINE_FUNCTION_NAME(Point_getZ)) : kNaN;
        const double m = has_m ? read(engine.KX_Point_getM, handed, ENGINE_FUNCTION_NAME(Point_getM)) : kNaN;
        f(x, y, z, m);
    }
}

}  // namespace geometry::immutable_point_collection
