#include "ops/relation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string_view>

#include "model/engine_error.h"
#include "model/extent.h"
#include "ops/certain_inside.h"
#include "ops/spatial_references.h"
#include "ops/geos_form.h"
#include "ops/planar.h"

namespace ops {
namespace {

bool is_empty(const GEOSGeometry* g) { return GEOSisEmpty_r(geos(), g) == 1; }

// The GEOS form of `g` for a relation test: GEOS's relate fails past kGeosMagnitude, where its
// orientation products overflow, and leaks the graph it was building when it does. A polygon's
// form is a multipolygon; one of a single member is tested as that polygon (the same point set),
// so that GEOS's own shortcuts for rectangles apply.
const GEOSGeometry* relatable_form(const model::Geometry& g) {
    const GEOSGeometry* form = geos_form(g);
    check_magnitude(form, "relation test");
    GEOSContextHandle_t ctx = geos();
    if (GEOSGeomTypeId_r(ctx, form) == GEOS_MULTIPOLYGON && GEOSGetNumGeometries_r(ctx, form) == 1)
        return GEOSGetGeometryN_r(ctx, form, 0);
    return form;
}

// Equal means the same kind of geometry occupying the same space; two empties of one kind are
// equal (GEOS finds no matrix for them).
bool equals(const model::Geometry& a, const model::Geometry& b) {
    if (!compatible_spatial_references(a, b) || a.kind() != b.kind()) return false;
    const GEOSGeometry *ga = relatable_form(a), *gb = relatable_form(b);
    if (is_empty(ga) || is_empty(gb)) return is_empty(ga) && is_empty(gb);
    return geos_predicate(retried_on_repair(
                              [](const GEOSGeometry* x, const GEOSGeometry* y) { return GEOSEquals_r(geos(), x, y); }, ga, gb),
                          "equals");
}

char test(Relation r, const GEOSGeometry* a, const GEOSGeometry* b) {
    switch (r) {
        case Relation::Contains:
            return GEOSContains_r(geos(), a, b);
        case Relation::Crosses:
            return GEOSCrosses_r(geos(), a, b);
        case Relation::Disjoint:
            return GEOSDisjoint_r(geos(), a, b);
        case Relation::Intersects:
            return GEOSIntersects_r(geos(), a, b);
        case Relation::Overlaps:
            return GEOSOverlaps_r(geos(), a, b);
        case Relation::Touches:
            return GEOSTouches_r(geos(), a, b);
        case Relation::Within:
            return GEOSWithin_r(geos(), a, b);
        case Relation::Equals:
            break;
    }
    return 2;
}

void check_pattern(const char* pattern) {
    if (pattern == nullptr) throw model::EngineError(model::kInvalidArgument, "Null relation pattern.");
    const std::string_view p(pattern, strnlen(pattern, 10));
    if (p.size() != 9 || p.find_first_not_of("TF*012") != std::string_view::npos)
        throw model::EngineError(model::kInvalidArgument, "Invalid relation pattern.",
                               "A pattern is nine characters, each one of T, F, *, 0, 1 and 2.");
}

// The x and y bounds of a geometry where they are known cheaply and finite: from its GEOS form when
// made already, else from its extent (which holds whatever GEOS is given of it, and can be larger).
std::optional<Bounds> finite_box(const model::Geometry& g) {
    std::optional<Bounds> box;
    if (const GEOSGeometry* form = g.geos_form.made()) {
        box = geos_bounds(form);
    } else {
        const auto e = model::extent_of(g);
        box = Bounds{std::min(e->x.min, e->x.max), std::min(e->y.min, e->y.max), std::max(e->x.min, e->x.max),
                     std::max(e->y.min, e->y.max)};
    }
    if (!box) return std::nullopt;
    for (double v : {box->xmin, box->ymin, box->xmax, box->ymax})
        if (!std::isfinite(v)) return std::nullopt;
    return box;
}

// Whether the two are known apart by their bounds alone: then no shape of one meets the other, and
// GEOS need not be given the second (the items of a collection's tests mostly lie apart).
bool apart(const model::Geometry& a, const model::Geometry& b) {
    const auto ba = finite_box(a);
    if (!ba) return false;
    const auto bb = finite_box(b);
    return bb && (ba->xmax < bb->xmin || bb->xmax < ba->xmin || ba->ymax < bb->ymin || bb->ymax < ba->ymin);
}

}  // namespace

bool relation(Relation r, const model::Geometry& a, const model::Geometry& b) {
    if (r == Relation::Equals) return equals(a, b);
    common_spatial_reference(a, b);
    if (apart(a, b)) return r == Relation::Disjoint;
    const GEOSGeometry *ga = relatable_form(a), *gb = relatable_form(b);
    // A vertex of one inside the other settles these two without GEOS's intersection graph (most
    // overlapping pairs are found so).
    if ((r == Relation::Intersects || r == Relation::Disjoint) && certainly_meet(ga, gb))
        return r == Relation::Intersects;
    // GEOS's graph gives up on some invalid polygons (a side location conflict): they are then
    // tested repaired, as the overlays work on them.
    return geos_predicate(
        retried_on_repair([r](const GEOSGeometry* x, const GEOSGeometry* y) { return test(r, x, y); }, ga, gb),
        "relation test");
}

bool relate(const model::Geometry& a, const model::Geometry& b, const char* pattern) {
    check_pattern(pattern);
    common_spatial_reference(a, b);
    return geos_predicate(retried_on_repair([pattern](const GEOSGeometry* x, const GEOSGeometry* y) {
                              return GEOSRelatePattern_r(geos(), x, y, pattern);
                          }, relatable_form(a), relatable_form(b)),
                          "relate");
}

}  // namespace ops
