// The engine's polyline and polygon operations, one wrapper each. Inputs are borrowed, results are new owners;
// the engine's error is returned as a value.
#pragma once

#include <cstdint>
#include <optional>

#include "geometry/point.h"
#include "geometry/polygon.h"
#include "geometry/polyline.h"

namespace geometry::geometry_engine {

Result<double> fraction_along(const polyline::Polyline& line, const point::Point& point, double tolerance);
Result<point::Point> with_point_along(const polyline::Polyline& line, double distance);
// None when the engine gives no polyline (nothing to extend).
Result<std::optional<polyline::Polyline>> extend(const polyline::Polyline& line, const polyline::Polyline& extender,
                                                 int32_t extend_options);
Result<point::Point> label_point(const polygon::Polygon& polygon);

}  // namespace geometry::geometry_engine
