#include "ops/geos_form.h"

#include "ops/to_geos.h"

namespace ops {
namespace {

// GEOS computes a geometry's envelope on first use and keeps it in the geometry: computed here for
// every component, before the form is shared, later reads from several threads change nothing.
void compute_envelopes(const GEOSGeometry* g) {
    GEOSContextHandle_t ctx = geos();
    if (GEOSisEmpty_r(ctx, g) != 0) return;
    double ignored = 0;
    (void)GEOSGeom_getXMin_r(ctx, g, &ignored);
    if (GEOSGeomTypeId_r(ctx, g) == GEOS_POLYGON) {
        compute_envelopes(GEOSGetExteriorRing_r(ctx, g));
        for (int i = 0, n = GEOSGetNumInteriorRings_r(ctx, g); i < n; ++i)
            compute_envelopes(GEOSGetInteriorRingN_r(ctx, g, i));
        return;
    }
    const int n = GEOSGetNumGeometries_r(ctx, g);
    if (n > 1 || (n == 1 && GEOSGetGeometryN_r(ctx, g, 0) != g))
        for (int i = 0; i < n; ++i) compute_envelopes(GEOSGetGeometryN_r(ctx, g, i));
}

void destroy(GEOSGeometry* g) { GeosDeleter()(g); }

}  // namespace

const GEOSGeometry* geos_form(const model::Geometry& g) {
    return g.geos_form.get(
        [&] {
            GeosPtr made = to_geos(g);
            compute_envelopes(made.get());
            return made.release();
        },
        destroy);
}

}  // namespace ops
