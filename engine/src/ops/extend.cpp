#include "ops/extend.h"

#include <cmath>
#include <limits>
#include <optional>

#include "model/engine_error.h"
#include "model/extent.h"
#include "model/multipart.h"
#include "ops/extents.h"
#include "ops/to_geos.h"

namespace ops {
namespace {

using model::Vertex;

bool shared_end(const std::vector<model::Part>& parts, size_t self, const Vertex& end) {
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i == self || parts[i].points.empty()) continue;
        if (model::same_xy(parts[i].points.front(), end) || model::same_xy(parts[i].points.back(), end)) return true;
    }
    return false;
}

// Where the ray from `end` away from `before` first meets the extender, as the fraction of
// the segment (before, end) by which the end moves on; none when it never does.
std::optional<double> reach(const Vertex& before, const Vertex& end, const GEOSGeometry* extender, double span) {
    const double dx = end.x - before.x, dy = end.y - before.y, len = std::hypot(dx, dy);
    if (len == 0) return std::nullopt;
    const double far = span / len + 1.0;
    const Vertex ray_ends[] = {end, {end.x + dx * far, end.y + dy * far}};
    GeosPtr ray = geos_line(ray_ends, false);
    GeosPtr meet = geos_check(GEOSIntersection_r(geos(), ray.get(), extender), "extend");
    GeosPtr points = geos_check(GEOSGeom_extractUniquePoints_r(geos(), meet.get()), "extend");
    std::optional<double> best;
    for (int i = 0, n = GEOSGetNumGeometries_r(geos(), points.get()); i < n; ++i) {
        double x = 0, y = 0;
        const GEOSGeometry* p = GEOSGetGeometryN_r(geos(), points.get(), i);
        GEOSGeomGetX_r(geos(), p, &x);
        GEOSGeomGetY_r(geos(), p, &y);
        const double t = ((x - end.x) * dx + (y - end.y) * dy) / (len * len);
        if (t > 0 && (!best || t < *best)) best = t;
    }
    return best;
}

Vertex moved(const Vertex& before, const Vertex& end, double t, int32_t options) {
    const auto on = [t](double a, double b) { return b + (b - a) * t; };
    Vertex v{on(before.x, end.x), on(before.y, end.y), on(before.z, end.z), on(before.m, end.m)};
    if (options & kKeepEndAttributes) {
        v.z = end.z;
        v.m = end.m;
    } else if (options & kNoEndAttributes) {
        v.z = v.m = model::kNaN;
    }
    return v;
}

// Extends one end of `part` (its first vertex when `at_start`); whether it could.
bool extend_end(model::Part& part, bool at_start, const GEOSGeometry* extender, double span, int32_t options) {
    auto& pts = part.points;
    const Vertex end = at_start ? pts.front() : pts.back();
    const Vertex before = at_start ? pts[1] : pts[pts.size() - 2];
    const auto t = reach(before, end, extender, span);
    if (!t) return false;
    const Vertex v = moved(before, end, *t, options);
    if (options & kRelocateEnds) {
        (at_start ? pts.front() : pts.back()) = v;
    } else if (at_start) {
        pts.insert(pts.begin(), v);
    } else {
        pts.push_back(v);
    }
    return true;
}

}  // namespace

GeometryPtr extend(const model::Geometry& line, const model::Geometry& extender, int32_t options) {
    const ResultShape shape = shape_of(model::GeometryKind::Polyline, line, extender);
    const auto& source = static_cast<const model::Multipart&>(line);
    for (const auto& part : source.parts)
        if (model::has_curves(part))
            throw model::EngineError(model::kGeometryError, "A polyline with curves cannot be extended.");
    require_finite(line);
    require_finite(extender);
    if (is_empty(line) || is_empty(extender)) return nullptr;
    GeosPtr target = to_geos(extender);
    const auto box = combined_extent({&line, &extender});
    const double span = std::hypot(box->x.max - box->x.min, box->y.max - box->y.min);

    auto out = std::make_unique<model::Multipart>(source);
    out->set_spatial_reference(shape.spatial_reference);
    bool extended = false;
    for (size_t i = 0; i < out->parts.size(); ++i) {
        auto& part = out->parts[i];
        if (part.points.size() < 2) continue;
        const Vertex first = part.points.front(), last = part.points.back();
        if (model::same_xy(first, last)) continue;  // a closed path has no free end
        if (!(options & kNotFromStartPoint) && !shared_end(source.parts, i, first))
            extended |= extend_end(part, true, target.get(), span, options);
        if (!(options & kNotFromEndPoint) && !shared_end(source.parts, i, last))
            extended |= extend_end(part, false, target.get(), span, options);
    }
    if (!extended) return nullptr;
    return out;
}

}  // namespace ops
