#include "geometry/geometry_engine.h"

namespace geometry::geometry_engine {

Result<double> fraction_along(const polyline::Polyline& line, const point::Point& point, double tolerance) {
    return call(ENGINE_CALL(GeometryEngine_fractionAlong, line.handle(), point.handle(), tolerance));
}

Result<point::Point> with_point_along(const polyline::Polyline& line, double distance) {
    return handle::create<point::Point>(ENGINE_CALL(GeometryEngine_createPointAlong, line.handle(), distance));
}

Result<std::optional<polyline::Polyline>> extend(const polyline::Polyline& line, const polyline::Polyline& extender,
                                                 int32_t extend_options) {
    auto raw = call(ENGINE_CALL(GeometryEngine_extend, line.handle(), extender.handle(), extend_options));
    if (!raw) return std::unexpected(std::move(raw).error());
    if (*raw == nullptr) return std::nullopt;
    return polyline::Polyline::from_handle(*raw);
}

Result<point::Point> label_point(const polygon::Polygon& polygon) {
    return handle::create<point::Point>(ENGINE_CALL(GeometryEngine_labelPoint, polygon.handle()));
}

}  // namespace geometry::geometry_engine
