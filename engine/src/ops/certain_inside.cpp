#include "ops/certain_inside.h"

#include <cfloat>
#include <cmath>
#include <optional>
#include <vector>

#include "ops/planar.h"

namespace ops {
namespace {

enum class Side { Inside, Outside, Unknown };

struct XY {
    double x, y;
};

// The sign of the orientation of p against the line a -> b (1 left, -1 right), or 0 when rounding
// could have changed it: Shewchuk's first error bound, A = (3 + 16 eps) eps with eps = 2^-53, which
// holds while nothing underflows, so sums of products near the smallest normal double are not
// trusted either. A product that overflows gives NaN or infinity and so 0 as well.
int certain_orientation(XY a, XY b, XY p) {
    constexpr double kEps = DBL_EPSILON / 2;
    constexpr double kBound = (3.0 + 16.0 * kEps) * kEps;
    const double left = (a.x - p.x) * (b.y - p.y), right = (a.y - p.y) * (b.x - p.x);
    const double det = left - right, sum = std::abs(left) + std::abs(right);
    if (!(sum > 1e-280) || !(std::abs(det) > kBound * sum)) return 0;
    return det > 0 ? 1 : -1;
}

// Where p lies against a closed ring by the crossing rule (a ray towards +x, each edge counted
// half-open in y as GEOS counts it); on a vertex, on a horizontal edge or too near an edge is
// Unknown.
Side ring_side(const GEOSGeometry* ring, XY p, std::vector<double>& xy) {
    GEOSContextHandle_t ctx = geos();
    const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(ctx, ring);
    unsigned int n = 0;
    if (seq == nullptr || GEOSCoordSeq_getSize_r(ctx, seq, &n) == 0 || n < 4) return Side::Unknown;
    xy.resize(2 * size_t{n});
    if (GEOSCoordSeq_copyToBuffer_r(ctx, seq, xy.data(), 0, 0) == 0) return Side::Unknown;
    bool inside = false;
    for (unsigned int i = 0; i + 1 < n; ++i) {
        const XY a{xy[2 * i], xy[2 * i + 1]}, b{xy[2 * i + 2], xy[2 * i + 3]};
        if ((a.x == p.x && a.y == p.y) || (a.y == p.y && b.y == p.y)) return Side::Unknown;
        if ((a.y > p.y) == (b.y > p.y)) continue;
        const int o = certain_orientation(a, b, p);
        if (o == 0) return Side::Unknown;
        // Left of an upward edge, or right of a downward one: the edge crosses the ray.
        if ((b.y > a.y) == (o > 0)) inside = !inside;
    }
    return inside ? Side::Inside : Side::Outside;
}

Side polygon_side(const GEOSGeometry* polygon, XY p, std::vector<double>& xy) {
    GEOSContextHandle_t ctx = geos();
    const Side shell = ring_side(GEOSGetExteriorRing_r(ctx, polygon), p, xy);
    if (shell != Side::Inside) return shell;
    const int holes = GEOSGetNumInteriorRings_r(ctx, polygon);
    for (int i = 0; i < holes; ++i) {
        const Side hole = ring_side(GEOSGetInteriorRingN_r(ctx, polygon, i), p, xy);
        if (hole != Side::Outside) return hole == Side::Inside ? Side::Outside : Side::Unknown;
    }
    return Side::Inside;
}

// The first coordinate GEOS holds of a geometry, if it holds any.
std::optional<XY> first_coordinate(const GEOSGeometry* g) {
    GEOSContextHandle_t ctx = geos();
    switch (GEOSGeomTypeId_r(ctx, g)) {
        case GEOS_POINT:
        case GEOS_LINESTRING:
        case GEOS_LINEARRING: {
            const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(ctx, g);
            unsigned int n = 0;
            XY p{};
            if (seq == nullptr || GEOSCoordSeq_getSize_r(ctx, seq, &n) == 0 || n == 0 ||
                GEOSCoordSeq_getXY_r(ctx, seq, 0, &p.x, &p.y) == 0)
                return std::nullopt;
            return p;
        }
        case GEOS_POLYGON:
            return first_coordinate(GEOSGetExteriorRing_r(ctx, g));
        case GEOS_MULTIPOINT:
        case GEOS_MULTILINESTRING:
        case GEOS_MULTIPOLYGON:
        case GEOS_GEOMETRYCOLLECTION:
            for (int i = 0, n = GEOSGetNumGeometries_r(ctx, g); i < n; ++i)
                if (auto p = first_coordinate(GEOSGetGeometryN_r(ctx, g, i))) return p;
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

// Whether p lies inside the bounds GEOS keeps of g, so that no ring of g need be read otherwise.
bool within_bounds(const GEOSGeometry* g, XY p) {
    const auto b = geos_bounds(g);
    return b && b->xmin < p.x && p.x < b->xmax && b->ymin < p.y && p.y < b->ymax;
}

}  // namespace

bool certainly_inside(const GEOSGeometry* area, double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y) || !within_bounds(area, {x, y})) return false;
    GEOSContextHandle_t ctx = geos();
    std::vector<double> xy;
    const XY p{x, y};
    switch (GEOSGeomTypeId_r(ctx, area)) {
        case GEOS_POLYGON:
            return polygon_side(area, p, xy) == Side::Inside;
        case GEOS_MULTIPOLYGON:
            // Inside any one of them is inside the whole, whatever the others say of the point.
            for (int i = 0, n = GEOSGetNumGeometries_r(ctx, area); i < n; ++i)
                if (polygon_side(GEOSGetGeometryN_r(ctx, area, i), p, xy) == Side::Inside) return true;
            return false;
        default:
            return false;
    }
}

bool certainly_meet(const GEOSGeometry* a, const GEOSGeometry* b) {
    const auto in_b = first_coordinate(b);
    if (in_b && certainly_inside(a, in_b->x, in_b->y)) return true;
    const auto in_a = first_coordinate(a);
    return in_a && certainly_inside(b, in_a->x, in_a->y);
}

}  // namespace ops
