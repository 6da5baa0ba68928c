#include "ops/to_geos.h"

#include <algorithm>
#include <cmath>

#include "model/engine_error.h"
#include "model/envelope.h"
#include "model/multipart.h"
#include "model/multipoint.h"
#include "model/point.h"
#include "ops/curve_densify.h"
#include "ops/planar.h"
#include "ops/ring_nesting.h"
#include "ops/scratch.h"

namespace ops {
namespace {

using model::located;
using model::Vertex;

// Up to this many vertices a ring is closed in a scratch copy and given to GEOS in one call; a
// longer one is written into GEOS's sequence vertex by vertex, which beats one more pass over that
// much memory (4.6 against 5.7 ns a vertex at 65,536 vertices, 10.5 against 14.9 at 10^6, where
// the copy wins at 10^4 with 2.5 against 3.7) and keeps the scratch, which the thread holds on
// to, from growing to the longest ring it ever closed.
constexpr size_t kClosedInScratch = 1 << 15;

GEOSCoordSequence* copied(std::span<const Vertex> vertices) {
    // The vertex layout (x, y, z, m) is GEOS's interleaved buffer with z and m; GEOS keeps the z.
    static_assert(sizeof(Vertex) == 4 * sizeof(double));
    return GEOSCoordSeq_copyFromBuffer_r(geos(), &vertices.front().x, static_cast<unsigned>(vertices.size()), 1, 1);
}

GEOSCoordSequence* written_closed(std::span<const Vertex> vertices) {
    GEOSContextHandle_t ctx = geos();
    const size_t n = vertices.size();
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(ctx, static_cast<unsigned>(n + 1), 3);
    for (size_t i = 0; seq != nullptr && i <= n; ++i) {
        const Vertex& v = vertices[i < n ? i : 0];
        if (GEOSCoordSeq_setXYZ_r(ctx, seq, static_cast<unsigned>(i), v.x, v.y, v.z) == 0) {
            GEOSCoordSeq_destroy_r(ctx, seq);
            seq = nullptr;
        }
    }
    return seq;
}

GEOSCoordSequence* sequence(std::span<const Vertex> vertices, bool close) {
    if (!close) return copied(vertices);
    if (vertices.size() > kClosedInScratch) return written_closed(vertices);
    thread_local std::vector<Vertex> closed;
    closed.assign(vertices.begin(), vertices.end());
    closed.push_back(vertices.front());
    return copied(closed);
}

GeosPtr geos_point(const Vertex& v) {
    if (!located(v)) return geos_check(GEOSGeom_createEmptyPoint_r(geos()), "empty point");
    return geos_check(GEOSGeom_createPoint_r(geos(), sequence({&v, 1}, false)), "point");
}

GeosPtr multipoint(const model::Multipoint& mp) {
    std::vector<GeosPtr> points;
    points.reserve(mp.points.size());
    for (const auto& v : mp.points)
        if (located(v)) points.push_back(geos_point(v));
    return geos_collection(GEOS_MULTIPOINT, std::move(points));
}

GeosPtr polyline(const model::Multipart& m) {
    std::vector<GeosPtr> lines;
    lines.reserve(m.parts.size());
    std::vector<Vertex> scratch;
    for (const auto& part : m.parts) {
        const auto& vertices = straight_vertices(part, scratch);
        if (vertices.size() >= 2) lines.push_back(geos_line(vertices, false));
    }
    return geos_collection(GEOS_MULTILINESTRING, std::move(lines));
}

// The rings GEOS can hold, straight, with the part each came from and the role ring_roles gives it.
// A part already straight, every vertex located, is read where it lies: the measures read every
// ring of a polygon, and a copy of each would cost them as much as the reading.
struct Classified {
    std::vector<std::vector<Vertex>> made;  // the straight vertices of the other parts
    Scratch<std::span<const Vertex>> rings;
    Scratch<size_t> part;
    RingReading reading;
};

Classified classified(const model::Multipart& m, Overlaps overlaps) {
    Classified c;
    c.rings.reserve(m.parts.size()), c.part.reserve(m.parts.size());
    for (size_t p = 0; p < m.parts.size(); ++p) {
        const model::Part& part = m.parts[p];
        std::span<const Vertex> vertices = part.points;
        if (model::has_curves(part) || !std::all_of(part.points.begin(), part.points.end(), located)) {
            // Moving `made` as it grows keeps each ring's own buffer where the spans point.
            c.made.push_back(straight_vertices(part));
            vertices = c.made.back();
        }
        if (!spans_area(vertices)) continue;
        c.rings.push_back(vertices);
        c.part.push_back(p);
    }
    c.reading = ring_roles(c.rings, overlaps);
    return c;
}

// For each part, whether its ring is an exterior (false for holes and for parts GEOS cannot hold).
std::vector<bool> exteriors(const Classified& c, size_t parts) {
    std::vector<bool> out(parts, false);
    for (size_t i = 0; i < c.rings.size(); ++i) out[c.part[i]] = c.reading.roles[i].exterior;
    return out;
}

}  // namespace

// A multipolygon of the rings in their roles. Exteriors that share area, nested or crossing, make a
// multipolygon GEOS misreads (its overlays take the covered region for a hole, or give up), so
// their union stands for it: the same region, which is what the polygon means to every GEOS
// operation.
PolygonForm polygon_form(const model::Multipart& m) {
    const Classified c = classified(m, Overlaps::Crossing);
    const auto& roles = c.reading.roles;
    std::vector<std::vector<GeosPtr>> holes(c.rings.size());
    for (size_t h = 0; h < c.rings.size(); ++h)
        if (!roles[h].exterior) holes[roles[h].owner].push_back(geos_line(c.rings[h], true));
    std::vector<GeosPtr> polygons;
    for (size_t i = 0; i < c.rings.size(); ++i)
        if (roles[i].exterior) polygons.push_back(geos_polygon(geos_line(c.rings[i], true), std::move(holes[i])));
    PolygonForm form{geos_collection(GEOS_MULTIPOLYGON, std::move(polygons)), c.reading.overlapping,
                     exteriors(c, m.parts.size())};
    if (!form.united) return form;
    form.geometry = unary_union(form.geometry.get());
    // GEOS's union of a single polygon is that polygon; the polygon's form stays a multipolygon.
    if (GEOSGeomTypeId_r(geos(), form.geometry.get()) == GEOS_POLYGON) {
        std::vector<GeosPtr> one;
        one.push_back(std::move(form.geometry));
        form.geometry = geos_collection(GEOS_MULTIPOLYGON, std::move(one));
    }
    return form;
}

namespace {

// An envelope without width or height is the segment or point it covers: as a rectangle of no
// area GEOS would find it both meeting a square whose edge it lies on and apart from it.
GeosPtr rectangle(const model::Envelope& e) {
    if (std::isnan(e.x.min) || std::isnan(e.x.max) || std::isnan(e.y.min) || std::isnan(e.y.max))
        return geos_check(GEOSGeom_createEmptyPolygon_r(geos()), "empty polygon");
    const double x0 = std::min(e.x.min, e.x.max), x1 = std::max(e.x.min, e.x.max);
    const double y0 = std::min(e.y.min, e.y.max), y1 = std::max(e.y.min, e.y.max);
    if (x0 == x1 && y0 == y1) return geos_point({x0, y0});
    if (x0 == x1 || y0 == y1) {
        const Vertex segment[] = {{x0, y0}, {x1, y1}};
        return geos_line(segment, false);
    }
    const Vertex ring[] = {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
    return geos_polygon(geos_line(ring, true), {});
}

template <typename F>
bool all_vertices(const model::Geometry& g, F ok) {
    switch (g.kind()) {
        case model::GeometryKind::Point:
            return ok(static_cast<const model::Point&>(g).vertex);
        case model::GeometryKind::Multipoint:
            return std::all_of(static_cast<const model::Multipoint&>(g).points.begin(),
                               static_cast<const model::Multipoint&>(g).points.end(), ok);
        case model::GeometryKind::Envelope: {
            const auto& e = static_cast<const model::Envelope&>(g);
            return ok(Vertex{e.x.min, e.y.min}) && ok(Vertex{e.x.max, e.y.max});
        }
        case model::GeometryKind::Polyline:
        case model::GeometryKind::Polygon:
            for (const auto& part : static_cast<const model::Multipart&>(g).parts)
                if (!std::all_of(part.points.begin(), part.points.end(), ok)) return false;
            return true;
    }
    return true;
}

}  // namespace

bool spans_area(std::span<const Vertex> v) {
    if (v.size() < 3) return false;
    const auto differs = [&](const Vertex& a) { return !model::same_xy(a, v.front()); };
    const auto second = std::find_if(v.begin(), v.end(), differs);
    if (second == v.end()) return false;
    return std::any_of(second, v.end(), [&](const Vertex& a) { return differs(a) && !model::same_xy(a, *second); });
}

GeosPtr geos_polygon(GeosPtr shell, std::vector<GeosPtr> holes) {
    std::vector<GEOSGeometry*> raw;
    for (auto& h : holes) raw.push_back(h.get());
    GEOSGeometry* p = GEOSGeom_createPolygon_r(geos(), shell.get(), raw.data(), static_cast<unsigned>(raw.size()));
    if (p != nullptr) {
        (void)shell.release();
        for (auto& h : holes) (void)h.release();
    }
    return geos_check(p, "polygon");
}

GeosPtr geos_collection(int type, std::vector<GeosPtr> members) {
    std::vector<GEOSGeometry*> raw;
    raw.reserve(members.size());
    for (auto& m : members) raw.push_back(m.get());
    GEOSGeometry* c = GEOSGeom_createCollection_r(geos(), type, raw.data(), static_cast<unsigned>(raw.size()));
    if (c != nullptr)
        for (auto& m : members) (void)m.release();  // now owned by the collection
    return geos_check(c, "collection");
}

GeosPtr geos_line(std::span<const Vertex> vertices, bool close) {
    GEOSCoordSequence* seq = sequence(vertices, close);
    if (seq == nullptr) geos_failed("line");
    return geos_check(close ? GEOSGeom_createLinearRing_r(geos(), seq) : GEOSGeom_createLineString_r(geos(), seq),
                      "line");
}

GeosPtr to_geos(const model::Geometry& g) {
    switch (g.kind()) {
        case model::GeometryKind::Point:
            return geos_point(static_cast<const model::Point&>(g).vertex);
        case model::GeometryKind::Multipoint:
            return multipoint(static_cast<const model::Multipoint&>(g));
        case model::GeometryKind::Polyline:
            return polyline(static_cast<const model::Multipart&>(g));
        case model::GeometryKind::Polygon:
            return polygon_form(static_cast<const model::Multipart&>(g)).geometry;
        case model::GeometryKind::Envelope:
            return rectangle(static_cast<const model::Envelope&>(g));
    }
    throw model::EngineError(model::kInvalidArgument, "Unknown geometry kind.");
}

PartRoles part_roles(const model::Multipart& polygon) {
    const Classified c = classified(polygon, Overlaps::None);
    PartRoles out{exteriors(c, polygon.parts.size()), std::vector<double>(polygon.parts.size(), 0.0)};
    for (size_t i = 0; i < c.rings.size(); ++i) out.straight_area[c.part[i]] = c.reading.areas[i];
    return out;
}

bool finite_coordinates(const model::Geometry& g) {
    return all_vertices(g, [](const Vertex& v) { return std::isnan(v.x) || std::isnan(v.y) || (std::isfinite(v.x) && std::isfinite(v.y)); });
}

void require_finite(const model::Geometry& g) {
    if (!finite_coordinates(g))
        throw model::EngineError(model::kGeometryError, "Coordinates must be finite.",
                               "The geometry holds an infinite coordinate.");
}

}  // namespace ops
