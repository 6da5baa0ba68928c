#include "ops/measure.h"

#include "ops/planar.h"
#include "ops/spatial_references.h"
#include "ops/to_geos.h"

namespace ops {
namespace {

bool has_area(const model::Geometry& g) {
    return g.kind() == model::GeometryKind::Polygon || g.kind() == model::GeometryKind::Envelope;
}

bool has_length(const model::Geometry& g) { return dimension_of(g.kind()) > 0; }

using Measure = int (*)(GEOSContextHandle_t, const GEOSGeometry*, double*);

double measured(const model::Geometry& g, Measure measure, const char* what) {
    GeosPtr gg = to_geos(g);
    double value = 0;
    geos_status(measure(geos(), gg.get(), &value), what);
    return value;
}

}  // namespace

double area(const model::Geometry& g) { return has_area(g) ? measured(g, GEOSArea_r, "area") : 0.0; }

double length(const model::Geometry& g) { return has_length(g) ? measured(g, GEOSLength_r, "length") : 0.0; }

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
