#include "ops/measure.h"

#include <algorithm>
#include <cmath>

#include "model/envelope.h"
#include "model/multipart.h"
#include "ops/curve_densify.h"
#include "ops/curve_measure.h"
#include "ops/planar.h"
#include "ops/spatial_references.h"
#include "ops/to_geos.h"

namespace ops {
namespace {

bool has_area(const model::Geometry& g) {
    return g.kind() == model::GeometryKind::Polygon || g.kind() == model::GeometryKind::Envelope;
}

bool has_length(const model::Geometry& g) { return dimension_of(g.kind()) > 0; }

// The area of the polygon the rings mean, arcs measured exactly: exteriors add and holes take away,
// the roles those of to_geos. Overlapping exteriors each count, as GEOS measures such a multipolygon.
// A straight ring's area is the one its reading measured (ring_area would give the same sum).
double polygon_area(const model::Multipart& polygon) {
    if (polygon.parts.size() == 1) return std::abs(ring_area(polygon.parts.front()));
    const PartRoles read = part_roles(polygon);
    double sum = 0.0;
    for (size_t i = 0; i < polygon.parts.size(); ++i) {
        const model::Part& part = polygon.parts[i];
        const double a = model::has_curves(part) ? std::abs(ring_area(part)) : read.straight_area[i];
        sum += read.exterior[i] ? a : -a;
    }
    return std::max(sum, 0.0);
}

}  // namespace

double area(const model::Geometry& g) {
    if (!has_area(g)) return 0.0;
    if (g.kind() == model::GeometryKind::Envelope) {
        if (is_empty(g)) return 0.0;
        const auto& e = static_cast<const model::Envelope&>(g);
        return std::abs((e.x.max - e.x.min) * (e.y.max - e.y.min));
    }
    return polygon_area(static_cast<const model::Multipart&>(g));
}

double length(const model::Geometry& g) {
    if (!has_length(g) || is_empty(g)) return 0.0;
    if (g.kind() == model::GeometryKind::Envelope) {
        const auto& e = static_cast<const model::Envelope&>(g);
        return 2 * (std::abs(e.x.max - e.x.min) + std::abs(e.y.max - e.y.min));
    }
    // Every part of two located vertices or more; a ring too thin to span an area is measured as
    // the closed path it still is.
    std::vector<model::Vertex> scratch;
    double sum = 0.0;
    for (const auto& part : static_cast<const model::Multipart&>(g).parts) {
        const auto& v = straight_vertices(part, scratch);
        if (v.size() >= 2) sum += part_length(part);
    }
    return sum;
}

double distance(const model::Geometry& a, const model::Geometry& b) {
    common_spatial_reference(a, b);
    if (is_empty(a) || is_empty(b)) return model::kNaN;
    GeosPtr ga = to_geos(a), gb = to_geos(b);
    if (GEOSisEmpty_r(geos(), ga.get()) == 1 || GEOSisEmpty_r(geos(), gb.get()) == 1) return model::kNaN;
    double d = 0;
    geos_status(GEOSDistance_r(geos(), ga.get(), gb.get(), &d), "distance");
    return d;
}

}  // namespace ops
