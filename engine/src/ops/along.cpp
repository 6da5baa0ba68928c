#include "ops/along.h"

#include <algorithm>
#include <cmath>

#include "model/engine_error.h"
#include "ops/measure.h"
#include "ops/spatial_references.h"
#include "ops/to_geos.h"

namespace ops {

GeometryPtr point_along(const model::Geometry& line, double distance) {
    if (std::isnan(distance)) throw model::EngineError(model::kInvalidArgument, "The distance must be a number.");
    const ResultShape shape = shape_of(model::GeometryKind::Point, line);
    if (is_empty(line)) return empty_geometry(shape);
    require_finite(line);
    GeosPtr g = to_geos(line);
    double total = 0;
    geos_status(GEOSLength_r(geos(), g.get(), &total), "length");
    GeosPtr p = geos_check(GEOSInterpolate_r(geos(), g.get(), std::clamp(distance, 0.0, total)), "point along");
    return result_of(p.get(), shape, {&line}, VertexAttributes::NewVertices::Interpolated);
}

double fraction_along(const model::Geometry& line, const model::Geometry& point, double tolerance) {
    common_spatial_reference(line, point);
    if (std::isnan(tolerance)) throw model::EngineError(model::kInvalidArgument, "The tolerance must be a number.");
    if (is_empty(line) || is_empty(point) || !(length(line) > 0)) return model::kNaN;
    require_finite(line);
    require_finite(point);
    GeosPtr g = to_geos(line), p = to_geos(point);
    const double d = distance(line, point);
    if (tolerance >= 0 && d > tolerance) return model::kNaN;
    const double f = GEOSProjectNormalized_r(geos(), g.get(), p.get());
    if (tolerance < 0 && d > 0 && (f <= 0.0 || f >= 1.0)) return model::kNaN;
    return f;
}

}  // namespace ops
