#include "geometry/geometry_engine.h"

#include <string>

#include "geometry/array.h"
#include "geometry/c_string.h"

namespace geometry::geometry_engine {

namespace {

// A 32-bit yes/no argument.
int32_t flag(bool value) { return value ? 1 : 0; }

// Under the error policy: the engine's error, or the result as it comes.
template <typename F>
auto returned(F&& engine_call) {
    return call(std::forward<F>(engine_call));
}

// Under the error policy, the engine's one-byte answer as a boolean.
template <typename F>
Result<bool> answered(F&& engine_call) {
    auto answer = call(std::forward<F>(engine_call));
    if (!answer) return std::unexpected(std::move(answer).error());
    return *answer != 0;
}

// Under the error policy, an owner of the result; a null handle is T's null-handle fault.
template <typename T, typename F>
Result<T> owned(F&& engine_call) {
    return handle::create<T>(std::forward<F>(engine_call));
}

// Under the error policy, the engine's array to be read by the caller, item by item.
template <typename T, typename F>
Result<array::Items<T>> items(F&& engine_call) {
    auto array = handle::create<array::Array>(std::forward<F>(engine_call));
    if (!array) return std::unexpected(std::move(array).error());
    return array::Items<T>(std::move(*array));
}

// Under the error policy, the engine's array unpacked into a list of T (the array is gone after).
template <typename T, typename F>
Result<std::vector<T>> listed(F&& engine_call) {
    auto answer = items<T>(std::forward<F>(engine_call));
    if (!answer) return std::unexpected(std::move(answer).error());
    return std::move(*answer).into_list();
}

// A result that the engine may leave out: a null handle is none, not a fault.
template <typename T>
std::optional<T> optional_of(typename T::Handle raw) {
    if (raw == nullptr) return std::nullopt;
    return T::from_handle(raw);
}

}  // namespace

#define PAIRWISE(wrapper, function, Result, how)                                  \
    Result wrapper(GeometryArg geometry, GeometryArg other) {                     \
        return how(ENGINE_CALL(GeometryEngine_##function, geometry.handle(), other.handle())); \
    }

PAIRWISE(contains, contains, Result<bool>, answered)
PAIRWISE(crosses, crosses, Result<bool>, answered)
PAIRWISE(disjoint, disjoint, Result<bool>, answered)
PAIRWISE(equals, equals, Result<bool>, answered)
PAIRWISE(intersects, intersects, Result<bool>, answered)
PAIRWISE(overlaps, overlaps, Result<bool>, answered)
PAIRWISE(touches, touches, Result<bool>, answered)
PAIRWISE(within, within, Result<bool>, answered)
PAIRWISE(difference, difference, Result<GeometryOwned>, owned<GeometryOwned>)
PAIRWISE(intersection, intersection, Result<GeometryOwned>, owned<GeometryOwned>)
PAIRWISE(symmetric_difference, symmetricDifference, Result<GeometryOwned>, owned<GeometryOwned>)
PAIRWISE(union_, union, Result<GeometryOwned>, owned<GeometryOwned>)
PAIRWISE(intersections, intersections, Result<GeometryList>, listed<GeometryOwned>)
PAIRWISE(combine_extents, combineExtents, Result<envelope::Envelope>, owned<envelope::Envelope>)
PAIRWISE(distance, distance, Result<double>, returned)
#undef PAIRWISE

Result<bool> relate(GeometryArg geometry, GeometryArg other, std::string_view relation) {
    auto pattern = c_string::copy(relation, "Failed to convert string to CString.", "The relation pattern");
    if (!pattern) return std::unexpected(std::move(pattern).error());
    return answered(ENGINE_CALL(GeometryEngine_relate, geometry.handle(), other.handle(), pattern->c_str()));
}

Result<GeometryOwned> clip(GeometryArg geometry, const envelope::Envelope& envelope) {
    return owned<GeometryOwned>(ENGINE_CALL(GeometryEngine_clip, geometry.handle(), envelope.handle()));
}

Result<GeometryList> cut(GeometryArg geometry, const polyline::Polyline& cutter) {
    return listed<GeometryOwned>(ENGINE_CALL(GeometryEngine_cut, geometry.handle(), cutter.handle()));
}

Result<GeometryOwned> boundary(GeometryArg geometry) {
    return owned<GeometryOwned>(ENGINE_CALL(GeometryEngine_boundary, geometry.handle()));
}

Result<GeometryOwned> convex_hull(GeometryArg geometry) {
    return owned<GeometryOwned>(ENGINE_CALL(GeometryEngine_convexHull, geometry.handle()));
}

Result<GeometryOwned> simplify(GeometryArg geometry) {
    return owned<GeometryOwned>(ENGINE_CALL(GeometryEngine_simplify, geometry.handle()));
}

Result<point::Point> label_point(GeometryArg geometry) {
    return owned<point::Point>(ENGINE_CALL(GeometryEngine_labelPoint, geometry.handle()));
}

Result<polygon::Polygon> buffer(GeometryArg geometry, double distance) {
    return owned<polygon::Polygon>(ENGINE_CALL(GeometryEngine_buffer, geometry.handle(), distance));
}

Result<GeometryOwned> densify(GeometryArg geometry, double max_segment_length) {
    return owned<GeometryOwned>(ENGINE_CALL(GeometryEngine_densify, geometry.handle(), max_segment_length));
}

Result<GeometryOwned> generalize(GeometryArg geometry, double max_offset, bool remove_degenerate_parts) {
    return owned<GeometryOwned>(
        ENGINE_CALL(GeometryEngine_generalize, geometry.handle(), flag(remove_degenerate_parts), max_offset));
}

Result<GeometryOwned> rotate(GeometryArg geometry, const point::Point* origin, double angle) {
    return owned<GeometryOwned>(
        ENGINE_CALL(GeometryEngine_rotate, geometry.handle(), handle::raw_or_null(origin), angle));
}

Result<GeometryOwned> scale(GeometryArg geometry, const point::Point* origin, double scale_x, double scale_y) {
    return owned<GeometryOwned>(
        ENGINE_CALL(GeometryEngine_scale, geometry.handle(), handle::raw_or_null(origin), scale_x, scale_y));
}

GeometryOwned _remove_z(GeometryArg geometry) {
    return handle::create_or_stop<GeometryOwned>(NAMED_ENGINE_CALL(GeometryEngine_removeZ, geometry.handle()));
}

GeometryOwned _remove_m(GeometryArg geometry) {
    return handle::create_or_stop<GeometryOwned>(NAMED_ENGINE_CALL(GeometryEngine_removeM, geometry.handle()));
}

GeometryOwned _remove_z_and_m(GeometryArg geometry) {
    return handle::create_or_stop<GeometryOwned>(NAMED_ENGINE_CALL(GeometryEngine_removeZAndM, geometry.handle()));
}

std::optional<GeometryOwned> normalize_central_meridian(GeometryArg geometry) {
    return optional_of<GeometryOwned>(
        call_or_stop(NAMED_ENGINE_CALL(GeometryEngine_normalizeCentralMeridian, geometry.handle())));
}

double area(GeometryArg geometry) { return call_or_stop(NAMED_ENGINE_CALL(GeometryEngine_area, geometry.handle())); }

double length(GeometryArg geometry) {
    return call_or_stop(NAMED_ENGINE_CALL(GeometryEngine_length, geometry.handle()));
}

bool is_simple(GeometryArg geometry) {
    return call_or_stop(NAMED_ENGINE_CALL(GeometryEngine_isSimple, geometry.handle())) != 0;
}

Result<double> area_geodetic(GeometryArg geometry, const area_unit::AreaUnit* unit, int32_t curve_type) {
    return returned(ENGINE_CALL(GeometryEngine_areaGeodetic, geometry.handle(), handle::raw_or_null(unit), curve_type));
}

Result<double> length_geodetic(GeometryArg geometry, const linear_unit::LinearUnit* unit, int32_t curve_type) {
    return returned(
        ENGINE_CALL(GeometryEngine_lengthGeodetic, geometry.handle(), handle::raw_or_null(unit), curve_type));
}

Result<polygon::Polygon> buffer_geodetic(GeometryArg geometry, const linear_unit::LinearUnit* unit,
                                         int32_t curve_type, double distance, double max_deviation) {
    return owned<polygon::Polygon>(ENGINE_CALL(GeometryEngine_bufferGeodetic, geometry.handle(),
                                               handle::raw_or_null(unit), curve_type, distance, max_deviation));
}

Result<GeometryOwned> densify_geodetic(GeometryArg geometry, const linear_unit::LinearUnit* unit,
                                       int32_t curve_type, double max_segment_length) {
    return owned<GeometryOwned>(ENGINE_CALL(GeometryEngine_densifyGeodetic, geometry.handle(),
                                            handle::raw_or_null(unit), curve_type, max_segment_length));
}

Result<double> fraction_along(const polyline::Polyline& line, const point::Point& point, double tolerance) {
    return returned(ENGINE_CALL(GeometryEngine_fractionAlong, line.handle(), point.handle(), tolerance));
}

Result<point::Point> with_point_along(const polyline::Polyline& line, double distance) {
    return owned<point::Point>(ENGINE_CALL(GeometryEngine_createPointAlong, line.handle(), distance));
}

Result<std::optional<polyline::Polyline>> extend(const polyline::Polyline& line, const polyline::Polyline& extender,
                                                 int32_t extend_options) {
    auto raw = returned(ENGINE_CALL(GeometryEngine_extend, line.handle(), extender.handle(), extend_options));
    if (!raw) return std::unexpected(std::move(raw).error());
    return optional_of<polyline::Polyline>(*raw);
}

namespace detail {

Result<GeometryOwned> move_relative(GeometryArg geometry, double delta_x, double delta_y) {
    return owned<GeometryOwned>(ENGINE_CALL(GeometryEngine_move, geometry.handle(), delta_x, delta_y));
}

Result<GeometryOwned> set_z(GeometryArg geometry, double z) {
    return owned<GeometryOwned>(ENGINE_CALL(GeometryEngine_setZ, geometry.handle(), z));
}

Result<GeometryOwned> set_m(GeometryArg geometry, double m) {
    return owned<GeometryOwned>(ENGINE_CALL(GeometryEngine_setM, geometry.handle(), m));
}

Result<GeometryOwned> set_z_and_m(GeometryArg geometry, double z, double m) {
    return owned<GeometryOwned>(ENGINE_CALL(GeometryEngine_setZAndM, geometry.handle(), z, m));
}

Result<GeometryOwned> project(GeometryArg geometry, const spatial_reference::SpatialReference& spatial_reference) {
    return owned<GeometryOwned>(ENGINE_CALL(GeometryEngine_project, geometry.handle(), spatial_reference.handle()));
}

Result<GeometryOwned> project_with_transformation(GeometryArg geometry,
                                                  const spatial_reference::SpatialReference& spatial_reference,
                                                  const datum_transformation::DatumTransformationOwned& transformation) {
    return owned<GeometryOwned>(ENGINE_CALL(GeometryEngine_projectWithTransformation, geometry.handle(),
                                            spatial_reference.handle(), transformation.handle()));
}

Result<GeometryOwned> union_collection(const Vector& geometries) {
    return owned<GeometryOwned>(ENGINE_CALL(GeometryEngine_unionCollection, geometries.handle()));
}

Result<envelope::Envelope> combine_extents_collection(const Vector& geometries) {
    return owned<envelope::Envelope>(ENGINE_CALL(GeometryEngine_combineExtentsCollection, geometries.handle()));
}

Result<GeometryItems> convex_hull_collection(const Vector& geometries, bool merge) {
    return items<GeometryOwned>(ENGINE_CALL(GeometryEngine_convexHullCollection, geometries.handle(), flag(merge)));
}

Result<PolygonItems> auto_complete(const Vector& existing_boundaries, const Vector& new_boundaries) {
    return items<polygon::Polygon>(
        ENGINE_CALL(GeometryEngine_autoComplete, existing_boundaries.handle(), new_boundaries.handle()));
}

}  // namespace detail

Result<PolygonItems> buffer_slice(const vector::Vector& geometries, const vector::Vector& distances, bool union_result) {
    return items<polygon::Polygon>(ENGINE_CALL(GeometryEngine_bufferCollection, geometries.handle(),
                                                distances.handle(), flag(union_result)));
}

Result<PolygonItems> buffer_geodetic_slice(const vector::Vector& geometries, const vector::Vector& distances,
                                           const linear_unit::LinearUnit* unit, int32_t curve_type,
                                           double max_deviation, bool union_result) {
    return items<polygon::Polygon>(ENGINE_CALL(GeometryEngine_bufferGeodeticCollection, geometries.handle(),
                                                distances.handle(), handle::raw_or_null(unit), curve_type,
                                                flag(union_result), max_deviation));
}

}  // namespace geometry::geometry_engine
