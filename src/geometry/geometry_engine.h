// The engine's geometry operations, one wrapper each. Inputs are borrowed, results are new owners.
// Each wrapper has one failure policy: most return the engine's error as a value; the measures and
// reductions that must succeed on every valid geometry (area, length, is_simple, the z/m removals,
// normalize_central_meridian) treat an engine error as a fault. A null result where an object is
// required is always a fault, except for the two optional results (normalize_central_meridian,
// extend), where it means "no result".
#pragma once

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "geometry/area_unit.h"
#include "geometry/array.h"
#include "geometry/datum_transformation.h"
#include "geometry/downcast.h"
#include "geometry/environment.h"
#include "geometry/envelope.h"
#include "geometry/geometry.h"
#include "geometry/linear_unit.h"
#include "geometry/point.h"
#include "geometry/polygon.h"
#include "geometry/polyline.h"
#include "geometry/spatial_reference.h"
#include "geometry/vector.h"

namespace geometry::geometry_engine {

// Any geometry owner or borrowed geometry view, lent to one engine call.
class GeometryArg {
public:
    template <typename G>
        requires requires(const G& g) {
            { g.handle() } -> std::same_as<KX_GeometryHandle>;
        }
    GeometryArg(const G& geometry) : handle_(geometry.handle()) {}  // NOLINT: implicit on purpose
    KX_GeometryHandle handle() const { return handle_; }

private:
    KX_GeometryHandle handle_;
};

using geometry::GeometryOwned;
using GeometryList = std::vector<GeometryOwned>;
// The answers of the batch operations: engine arrays read out by the caller item by item.
using GeometryItems = array::Items<GeometryOwned>;
using PolygonItems = array::Items<polygon::Polygon>;

// ---- relation tests ----
Result<bool> contains(GeometryArg geometry, GeometryArg other);
Result<bool> crosses(GeometryArg geometry, GeometryArg other);
Result<bool> disjoint(GeometryArg geometry, GeometryArg other);
Result<bool> equals(GeometryArg geometry, GeometryArg other);
Result<bool> intersects(GeometryArg geometry, GeometryArg other);
Result<bool> overlaps(GeometryArg geometry, GeometryArg other);
Result<bool> touches(GeometryArg geometry, GeometryArg other);
Result<bool> within(GeometryArg geometry, GeometryArg other);
// The pattern goes to the engine unexamined, but a pattern holding a NUL character is the
// interior-NUL error of c_string, before any engine call.
Result<bool> relate(GeometryArg geometry, GeometryArg other, std::string_view relation);

// ---- overlay ----
Result<GeometryOwned> difference(GeometryArg geometry, GeometryArg other);
Result<GeometryOwned> intersection(GeometryArg geometry, GeometryArg other);
Result<GeometryOwned> symmetric_difference(GeometryArg geometry, GeometryArg other);
// `union` itself is a C++ keyword.
Result<GeometryOwned> union_(GeometryArg geometry, GeometryArg other);
Result<GeometryOwned> clip(GeometryArg geometry, const envelope::Envelope& envelope);
Result<GeometryList> intersections(GeometryArg geometry, GeometryArg other);
Result<GeometryList> cut(GeometryArg geometry, const polyline::Polyline& cutter);
Result<envelope::Envelope> combine_extents(GeometryArg geometry, GeometryArg other);
// The planar distance, in the units of the spatial reference; NaN when either geometry is empty.
Result<double> distance(GeometryArg geometry, GeometryArg other);

// ---- one geometry ----
Result<GeometryOwned> boundary(GeometryArg geometry);
Result<GeometryOwned> convex_hull(GeometryArg geometry);
Result<GeometryOwned> simplify(GeometryArg geometry);
Result<point::Point> label_point(GeometryArg geometry);
Result<polygon::Polygon> buffer(GeometryArg geometry, double distance);
Result<GeometryOwned> densify(GeometryArg geometry, double max_segment_length);
Result<GeometryOwned> generalize(GeometryArg geometry, double max_offset, bool remove_degenerate_parts);
// No origin: the engine's default origin.
Result<GeometryOwned> rotate(GeometryArg geometry, const point::Point* origin, double angle);
Result<GeometryOwned> scale(GeometryArg geometry, const point::Point* origin, double scale_x, double scale_y);

// The faults of these three: their engine error, and a null result.
GeometryOwned _remove_z(GeometryArg geometry);
GeometryOwned _remove_m(GeometryArg geometry);
GeometryOwned _remove_z_and_m(GeometryArg geometry);
// None when the engine gives no geometry; an engine error is a fault.
std::optional<GeometryOwned> normalize_central_meridian(GeometryArg geometry);
double area(GeometryArg geometry);
double length(GeometryArg geometry);
bool is_simple(GeometryArg geometry);

// ---- geodetic; no unit: the engine's default (metres, square metres) ----
Result<double> area_geodetic(GeometryArg geometry, const area_unit::AreaUnit* unit, int32_t curve_type);
Result<double> length_geodetic(GeometryArg geometry, const linear_unit::LinearUnit* unit, int32_t curve_type);
Result<polygon::Polygon> buffer_geodetic(GeometryArg geometry, const linear_unit::LinearUnit* unit,
                                         int32_t curve_type, double distance, double max_deviation);
Result<GeometryOwned> densify_geodetic(GeometryArg geometry, const linear_unit::LinearUnit* unit,
                                       int32_t curve_type, double max_segment_length);

// ---- polylines ----
Result<double> fraction_along(const polyline::Polyline& line, const point::Point& point, double tolerance);
Result<point::Point> with_point_along(const polyline::Polyline& line, double distance);
// None when the engine gives no polyline (nothing to extend).
Result<std::optional<polyline::Polyline>> extend(const polyline::Polyline& line, const polyline::Polyline& extender,
                                                 int32_t extend_options);

// ---- results narrowed to the owner type the caller asks for (GeometryOwned takes any kind) ----
namespace detail {
Result<GeometryOwned> move_relative(GeometryArg geometry, double delta_x, double delta_y);
Result<GeometryOwned> set_z(GeometryArg geometry, double z);
Result<GeometryOwned> set_m(GeometryArg geometry, double m);
Result<GeometryOwned> set_z_and_m(GeometryArg geometry, double z, double m);
Result<GeometryOwned> project(GeometryArg geometry, const spatial_reference::SpatialReference& spatial_reference);
Result<GeometryOwned> project_with_transformation(GeometryArg geometry,
                                                  const spatial_reference::SpatialReference& spatial_reference,
                                                  const datum_transformation::DatumTransformationOwned& transformation);

template <typename T>
Result<T> narrowed(Result<GeometryOwned> result) {
    if (!result) return std::unexpected(std::move(result).error());
    return downcast::downcast<T>(std::move(*result));
}
}  // namespace detail

template <typename T = GeometryOwned>
Result<T> move_relative(GeometryArg geometry, double delta_x, double delta_y) {
    return detail::narrowed<T>(detail::move_relative(geometry, delta_x, delta_y));
}
template <typename T = GeometryOwned>
Result<T> set_z(GeometryArg geometry, double z) {
    return detail::narrowed<T>(detail::set_z(geometry, z));
}
template <typename T = GeometryOwned>
Result<T> set_m(GeometryArg geometry, double m) {
    return detail::narrowed<T>(detail::set_m(geometry, m));
}
template <typename T = GeometryOwned>
Result<T> set_z_and_m(GeometryArg geometry, double z, double m) {
    return detail::narrowed<T>(detail::set_z_and_m(geometry, z, m));
}
template <typename T = GeometryOwned>
Result<T> project(GeometryArg geometry, const spatial_reference::SpatialReference& spatial_reference) {
    return detail::narrowed<T>(detail::project(geometry, spatial_reference));
}
template <typename T = GeometryOwned>
Result<T> project_with_transformation(GeometryArg geometry,
                                      const spatial_reference::SpatialReference& spatial_reference,
                                      const datum_transformation::DatumTransformationOwned& transformation) {
    return detail::narrowed<T>(detail::project_with_transformation(geometry, spatial_reference, transformation));
}

// ---- whole collections, from the caller's pull streams (vector::Source) ----
// Each starts the runtime environment, builds its vectors in order (the second only once the
// first is complete, and the first destroyed if the second fails), makes one engine call, and
// destroys the vectors on every way out, the second before the first.
namespace detail {
using vector::Vector;
Result<GeometryOwned> union_collection(const Vector& geometries);
Result<envelope::Envelope> combine_extents_collection(const Vector& geometries);
Result<GeometryItems> convex_hull_collection(const Vector& geometries, bool merge);
Result<PolygonItems> auto_complete(const Vector& existing_boundaries, const Vector& new_boundaries);
}  // namespace detail

namespace detail {
// Builds a vector and lends it to `engine_call`; a failed build is the result.
template <typename Build, typename Call>
auto with_vector(Build&& build, Call&& engine_call) -> std::invoke_result_t<Call, const Vector&> {
    auto vector = std::forward<Build>(build)();
    if (!vector) return std::unexpected(std::move(vector).error());
    return std::forward<Call>(engine_call)(*vector);
}

template <typename S>
auto geometries_of(S& source) {
    return [&source] { return Vector::try_from_geometries(source); };
}
template <typename S>
auto floats_of(S& source) {
    return [&source] { return Vector::try_from_f64s(source); };
}
}  // namespace detail

template <vector::Source<GeometryOwned> S>
Result<GeometryOwned> union_collection(S& geometries) {
    environment::init();
    return detail::with_vector(detail::geometries_of(geometries),
                               [](const vector::Vector& v) { return detail::union_collection(v); });
}

template <vector::Source<GeometryOwned> S>
Result<envelope::Envelope> combine_extents_collection(S& geometries) {
    environment::init();
    return detail::with_vector(detail::geometries_of(geometries),
                               [](const vector::Vector& v) { return detail::combine_extents_collection(v); });
}

template <vector::Source<GeometryOwned> S>
Result<GeometryItems> convex_hull_collection(S& geometries, bool merge) {
    environment::init();
    return detail::with_vector(detail::geometries_of(geometries),
                               [merge](const vector::Vector& v) { return detail::convex_hull_collection(v, merge); });
}

// One batch buffer call over engine vectors: the call over whole collections, and the one
// SlicedBufferInputs::each_slice makes for each slice.
Result<PolygonItems> buffer_slice(const vector::Vector& geometries, const vector::Vector& distances, bool union_result);
Result<PolygonItems> buffer_geodetic_slice(const vector::Vector& geometries, const vector::Vector& distances,
                                           const linear_unit::LinearUnit* unit, int32_t curve_type,
                                           double max_deviation, bool union_result);

template <vector::Source<GeometryOwned> S, vector::Source<double> D>
Result<PolygonItems> buffer_collection(S& geometries, D& distances, bool union_result) {
    environment::init();
    return detail::with_vector(detail::geometries_of(geometries), [&](const vector::Vector& first) {
        return detail::with_vector(detail::floats_of(distances), [&](const vector::Vector& second) {
            return buffer_slice(first, second, union_result);
        });
    });
}

template <vector::Source<GeometryOwned> S, vector::Source<double> D>
Result<PolygonItems> buffer_geodetic_collection(S& geometries, D& distances, const linear_unit::LinearUnit* unit,
                                               double max_deviation, int32_t curve_type, bool union_result) {
    environment::init();
    return detail::with_vector(detail::geometries_of(geometries), [&](const vector::Vector& first) {
        return detail::with_vector(detail::floats_of(distances), [&](const vector::Vector& second) {
            return buffer_geodetic_slice(first, second, unit, curve_type, max_deviation, union_result);
        });
    });
}

// The inputs of a batch buffer, read whole before any engine call: the geometries in engine
// vectors of at most `slice` items each, the distances as numbers. The engine keeps every answer
// of a call until its array is destroyed, so buffers without a union are asked a slice at a time:
// only one slice of results then exists in engine form while the caller makes them its own.
class SlicedBufferInputs {
public:
    // Reads every geometry, then every distance (the order of the single call); the first error
    // of a vector ends the reading.
    template <vector::Source<GeometryOwned> S, vector::Source<double> D>
    static Result<SlicedBufferInputs> read(S& geometries, D& distances, size_t slice) {
        environment::init();
        SlicedBufferInputs inputs;
        for (bool more = true; more;) {
            size_t left = slice;
            auto limited = [&]() -> std::optional<GeometryOwned> {
                if (left == 0) return std::nullopt;
                auto item = geometries();
                if (!item) more = false;
                else --left;
                return item;
            };
            auto vector = vector::Vector::try_from_geometries(limited);
            if (!vector) return std::unexpected(std::move(vector).error());
            const size_t count = slice - left;
            if (count > 0 || inputs.slices_.empty()) inputs.slices_.push_back({std::move(*vector), count});
        }
        while (auto distance = distances()) inputs.distances_.push_back(*distance);
        return inputs;
    }

    // `call(geometries, distances)` (one batch buffer call) for each slice in order, its answer
    // handed to `take` (bool take(PolygonItems&&); false stops). The answers and errors are those
    // of one call over everything: with several slices the distances are first checked whole by a
    // call without geometries, and each slice gets the distances of its own geometries, the last
    // one serving for the rest.
    template <typename Call, typename Take>
    Result<void> each_slice(Call&& call, Take&& take) const {
        if (slices_.size() > 1) {
            auto none = vector::Vector::create(vector::VectorElementType::Geometry);
            if (!none) return std::unexpected(std::move(none).error());
            auto checked = with_distances(0, distances_.size(), [&](const vector::Vector& d) { return call(*none, d); });
            if (!checked) return std::unexpected(std::move(checked).error());
        }
        // A single call is given every distance, as the call over everything would be.
        const bool single = slices_.size() == 1;
        size_t first = 0;
        for (const Slice& slice : slices_) {
            auto answer = with_distances(first, single ? distances_.size() : slice.count,
                                         [&](const vector::Vector& d) { return call(slice.geometries, d); });
            if (!answer) return std::unexpected(std::move(answer).error());
            if (!take(std::move(*answer))) break;
            first += slice.count;
        }
        return {};
    }

private:
    struct Slice {
        vector::Vector geometries;
        size_t count;
    };

    // The distances of the geometries first .. first + count as an engine vector lent to
    // `engine_call`: those given for them, or the last one given where they run out.
    template <typename Call>
    auto with_distances(size_t first, size_t count, Call&& engine_call) const
        -> std::invoke_result_t<Call, const vector::Vector&> {
        const size_t given = distances_.size();
        size_t begin = std::min(first, given), end = std::min(first + count, given);
        if (begin == end && given > 0) begin = given - 1, end = given;
        auto next = [&, at = begin]() mutable -> std::optional<double> {
            if (at == end) return std::nullopt;
            return distances_[at++];
        };
        return detail::with_vector([&] { return vector::Vector::try_from_f64s(next); }, engine_call);
    }

    std::vector<Slice> slices_;
    std::vector<double> distances_;
};

// The existing boundaries are polygons, the new ones polylines.
template <vector::Source<GeometryOwned> S, vector::Source<GeometryOwned> N>
Result<PolygonItems> auto_complete(S& existing_boundaries, N& new_boundaries) {
    environment::init();
    return detail::with_vector(detail::geometries_of(existing_boundaries), [&](const vector::Vector& first) {
        return detail::with_vector(detail::geometries_of(new_boundaries), [&](const vector::Vector& second) {
            return detail::auto_complete(first, second);
        });
    });
}

}  // namespace geometry::geometry_engine
