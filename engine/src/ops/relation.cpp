#include "ops/relation.h"

#include <cstring>
#include <string_view>

#include "model/engine_error.h"
#include "ops/spatial_references.h"
#include "ops/geos_form.h"

namespace ops {
namespace {

bool is_empty(const GEOSGeometry* g) { return GEOSisEmpty_r(geos(), g) == 1; }

// Equal means the same kind of geometry occupying the same space; two empties of one kind are
// equal (GEOS finds no matrix for them).
bool equals(const model::Geometry& a, const model::Geometry& b) {
    if (!compatible_spatial_references(a, b) || a.kind() != b.kind()) return false;
    const GEOSGeometry *ga = geos_form(a), *gb = geos_form(b);
    if (is_empty(ga) || is_empty(gb)) return is_empty(ga) && is_empty(gb);
    return geos_predicate(GEOSEquals_r(geos(), ga, gb), "equals");
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

}  // namespace

bool relation(Relation r, const model::Geometry& a, const model::Geometry& b) {
    if (r == Relation::Equals) return equals(a, b);
    common_spatial_reference(a, b);
    return geos_predicate(test(r, geos_form(a), geos_form(b)), "relation test");
}

bool relate(const model::Geometry& a, const model::Geometry& b, const char* pattern) {
    check_pattern(pattern);
    common_spatial_reference(a, b);
    return geos_predicate(GEOSRelatePattern_r(geos(), geos_form(a), geos_form(b), pattern), "relate");
}

}  // namespace ops
