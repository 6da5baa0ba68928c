#include "ops/douglas_peucker.h"

#include <utility>

#include "model/engine_error.h"
#include "ops/farthest_vertex.h"
#include "ops/from_geos.h"
#include "ops/to_geos.h"

namespace ops {

std::vector<model::Vertex> douglas_peucker(const std::vector<model::Vertex>& line, double tolerance) {
    if (line.size() < 3) return line;
    std::vector<model::XY> xy;
    xy.reserve(line.size());
    for (const auto& v : line) xy.push_back({v.x, v.y});
    FarthestVertex farthest(std::move(xy));
    std::vector<char> kept(line.size(), 1);
    // Sections are independent (each decides only the vertices inside it), so the order they are
    // taken in changes nothing.
    std::vector<std::pair<size_t, size_t>> sections{{0, line.size() - 1}};
    while (!sections.empty()) {
        const auto [i, j] = sections.back();
        sections.pop_back();
        if (i + 1 == j) continue;
        const auto found = farthest.between(i, j);
        if (found.distance <= tolerance) {
            std::fill(kept.begin() + static_cast<std::ptrdiff_t>(i) + 1, kept.begin() + static_cast<std::ptrdiff_t>(j), 0);
            continue;
        }
        sections.emplace_back(found.index, j);
        sections.emplace_back(i, found.index);
    }
    std::vector<model::Vertex> out;
    for (size_t k = 0; k < line.size(); ++k)
        if (kept[k] != 0) out.push_back(line[k]);
    return out;
}

namespace {

bool empty(const GEOSGeometry* g) { return GEOSisEmpty_r(geos(), g) == 1; }

GeosPtr copy_of(const GEOSGeometry* g) { return geos_check(GEOSGeom_clone_r(geos(), g), "generalize"); }

// A ring generalized: a ring while four vertices remain, else a line, or nothing inside a polygon,
// which drops the rings that collapse.
GeosPtr ring_of(const GEOSGeometry* ring, double tolerance, bool in_polygon) {
    if (empty(ring)) return copy_of(ring);
    auto vertices = douglas_peucker(line_vertices(ring, "generalize"), tolerance);
    if (vertices.size() >= 4) {
        vertices.pop_back();  // geos_line closes it again
        return geos_line(vertices, true);
    }
    return in_polygon ? nullptr : geos_line(vertices, false);
}

// GEOS's rule for a list of results: nothing is an empty collection, one is itself, several of one
// simple type their multi-type, anything else a collection.
GeosPtr built(std::vector<GeosPtr> members) {
    if (members.empty()) return geos_check(GEOSGeom_createEmptyCollection_r(geos(), GEOS_GEOMETRYCOLLECTION), "generalize");
    if (members.size() == 1) return std::move(members.front());
    const int type = GEOSGeomTypeId_r(geos(), members.front().get());
    for (const auto& m : members)
        if (GEOSGeomTypeId_r(geos(), m.get()) != type) return geos_collection(GEOS_GEOMETRYCOLLECTION, std::move(members));
    switch (type) {
        case GEOS_POINT:
            return geos_collection(GEOS_MULTIPOINT, std::move(members));
        case GEOS_LINESTRING:
        case GEOS_LINEARRING:
            return geos_collection(GEOS_MULTILINESTRING, std::move(members));
        case GEOS_POLYGON:
            return geos_collection(GEOS_MULTIPOLYGON, std::move(members));
        default:
            return geos_collection(GEOS_GEOMETRYCOLLECTION, std::move(members));
    }
}

// A polygon's rings generalized, before any repair: a polygon while its exterior stays a ring,
// else whatever of its holes remain.
GeosPtr rough_polygon(const GEOSGeometry* polygon, double tolerance) {
    GeosPtr shell = ring_of(GEOSGetExteriorRing_r(geos(), polygon), tolerance, true);
    std::vector<GeosPtr> holes;
    for (int k = 0, n = GEOSGetNumInteriorRings_r(geos(), polygon); k < n; ++k) {
        GeosPtr hole = ring_of(GEOSGetInteriorRingN_r(geos(), polygon, k), tolerance, true);
        if (hole != nullptr && !empty(hole.get())) holes.push_back(std::move(hole));
    }
    if (shell == nullptr || empty(shell.get())) {
        if (shell != nullptr) holes.insert(holes.begin(), std::move(shell));
        return built(std::move(holes));
    }
    return geos_polygon(std::move(shell), std::move(holes));
}

// The area as it is when it is one and valid, else its zero buffer.
GeosPtr repaired_area(GeosPtr rough) {
    if (GEOSGeom_getDimensions_r(geos(), rough.get()) == 2 && GEOSisValid_r(geos(), rough.get()) == 1) return rough;
    geos_reset_error();
    return geos_check(GEOSBuffer_r(geos(), rough.get(), 0.0, 8), "generalize");
}

// Each member transformed, the empty ones left out.
template <typename Transform>
std::vector<GeosPtr> members_of(const GEOSGeometry* g, Transform transform) {
    std::vector<GeosPtr> out;
    for (int i = 0, n = GEOSGetNumGeometries_r(geos(), g); i < n; ++i) {
        GeosPtr m = transform(GEOSGetGeometryN_r(geos(), g, i));
        if (m != nullptr && !empty(m.get())) out.push_back(std::move(m));
    }
    return out;
}

}  // namespace

GeosPtr douglas_peucker(const GEOSGeometry* g, double tolerance) {
    const auto again = [&](const GEOSGeometry* member) { return douglas_peucker(member, tolerance); };
    switch (GEOSGeomTypeId_r(geos(), g)) {
        case GEOS_POINT:
        case GEOS_MULTIPOINT:
            return copy_of(g);
        case GEOS_LINESTRING:
            return empty(g) ? copy_of(g) : geos_line(douglas_peucker(line_vertices(g, "generalize"), tolerance), false);
        case GEOS_LINEARRING:
            return ring_of(g, tolerance, false);
        case GEOS_POLYGON:
            return repaired_area(rough_polygon(g, tolerance));
        case GEOS_MULTILINESTRING: {
            auto lines = members_of(g, again);
            if (lines.empty()) return geos_check(GEOSGeom_createEmptyCollection_r(geos(), GEOS_MULTILINESTRING), "generalize");
            return built(std::move(lines));
        }
        case GEOS_MULTIPOLYGON: {
            // The members are repaired together, not one by one.
            auto polygons = members_of(g, [&](const GEOSGeometry* p) { return rough_polygon(p, tolerance); });
            if (polygons.empty()) return geos_check(GEOSGeom_createEmptyCollection_r(geos(), GEOS_MULTIPOLYGON), "generalize");
            return repaired_area(built(std::move(polygons)));
        }
        case GEOS_GEOMETRYCOLLECTION:
            return geos_collection(GEOS_GEOMETRYCOLLECTION, members_of(g, again));
        default:
            throw model::EngineError(model::kInternal, "An unknown GEOS geometry type cannot be generalized.");
    }
}

}  // namespace ops
