#include "ops/shape.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "model/engine_error.h"
#include "model/envelope.h"
#include "model/multipart.h"
#include "model/point.h"
#include "ops/curve_densify.h"
#include "ops/curve_measure.h"
#include "ops/douglas_peucker.h"
#include "ops/measure.h"
#include "ops/spatial_references.h"
#include "ops/to_geos.h"
#include "ops/vertex_budget.h"

namespace ops {
namespace {

using model::GeometryKind;

// Densify refuses to make more vertices than this (some 300 MB of them): a tiny segment length
// on a large geometry would otherwise exhaust memory.

[[noreturn]] void invalid(const std::string& message) { throw model::EngineError(model::kInvalidArgument, message); }

GeometryKind area_kind(const model::Geometry& g) {
    return g.kind() == GeometryKind::Envelope ? GeometryKind::Polygon : g.kind();
}

model::Part closed_path(const model::Part& ring) {
    model::Part path = ring;
    path.ring = false;
    if (!path.points.empty()) path.points.push_back(path.points.front());
    return path;
}

GeometryPtr polygon_boundary(const model::Multipart& polygon) {
    std::vector<model::Part> paths;
    for (const auto& ring : polygon.parts)
        if (!ring.points.empty()) paths.push_back(closed_path(ring));
    auto out = std::make_unique<model::Multipart>(GeometryKind::Polyline, std::move(paths), polygon.dims);
    out->set_spatial_reference(polygon.spatial_reference());
    return out;
}

// The envelope as a polygon of one clockwise ring; no ring for the empty envelope.
model::Multipart envelope_polygon(const model::Envelope& e) {
    std::vector<model::Part> rings;
    if (!is_empty(e)) {
        const double x0 = std::min(e.x.min, e.x.max), x1 = std::max(e.x.min, e.x.max);
        const double y0 = std::min(e.y.min, e.y.max), y1 = std::max(e.y.min, e.y.max);
        model::Part p;
        p.points = {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
        p.ring = true;
        rings.push_back(std::move(p));
    }
    model::Multipart polygon(GeometryKind::Polygon, std::move(rings), model::Dims{});
    polygon.set_spatial_reference(e.spatial_reference());
    return polygon;
}

GeometryKind kind_of_geos(const GEOSGeometry* g, GeometryKind fallback) {
    switch (GEOSGeomTypeId_r(geos(), g)) {
        case GEOS_POINT:
            return GeometryKind::Point;
        case GEOS_MULTIPOINT:
            return GeometryKind::Multipoint;
        case GEOS_LINESTRING:
        case GEOS_MULTILINESTRING:
            return GeometryKind::Polyline;
        case GEOS_POLYGON:
        case GEOS_MULTIPOLYGON:
            return GeometryKind::Polygon;
        default:
            return fallback;
    }
}

// `g` itself when valid, else its valid form: GEOS's buffer builder (used by buffer and by the
// zero buffers of generalize) leaks what it built when it gives up on an invalid polygon, so
// such input is repaired before rather than after a failure.
GeosPtr valid_area(GeosPtr g) {
    if (GEOSisValid_r(geos(), g.get()) == 1) return g;
    geos_reset_error();
    return make_valid(g.get());
}

void check_buffer_magnitude(const GEOSGeometry* g, double distance) {
    if (std::fabs(distance) > kGeosMagnitude)
        throw model::EngineError(model::kGeometryError, "The buffer distance is too large.",
                                 "Buffers take distances up to 1e100.");
    check_magnitude(g, "buffer");
}

GeosPtr geos_hull(const GEOSGeometry* input) {
    check_magnitude(input, "convex hull");
    return geos_check(GEOSConvexHull_r(geos(), input), "convex hull");
}

GeometryPtr hull_of(const GEOSGeometry* input, const ResultShape& base,
                    std::initializer_list<const model::Geometry*> inputs) {
    GeosPtr hull = geos_hull(input);
    ResultShape shape = base;
    if (GEOSisEmpty_r(geos(), hull.get()) == 0) shape.kind = kind_of_geos(hull.get(), base.kind);
    return result_of(hull.get(), shape, inputs);
}

GeosPtr buffer_geos(GeosPtr g, double distance) {
    check_buffer_magnitude(g.get(), distance);
    g = valid_area(std::move(g));
    const GeosBufferParams params(GEOSBufferParams_create_r(geos()));
    if (!params || GEOSBufferParams_setQuadrantSegments_r(geos(), params.get(), kBufferQuadrantSegments) == 0)
        geos_failed("buffer");
    return with_repair("buffer", [&](const GEOSGeometry* x, const GEOSGeometry*) {
        return GEOSBufferWithParams_r(geos(), x, params.get(), distance);
    }, g.get());
}

void check_distance(double distance) {
    if (!std::isfinite(distance)) invalid("The buffer distance must be a finite number.");
}

// The densified line's vertices with z and m: the input's own at its vertices, interpolated by
// distance along the input segment in between. Densify keeps every input vertex in order, so
// one walk along both lines matches them (no search per vertex).
std::vector<model::Vertex> along_segments(const std::vector<model::Vertex>& input, std::vector<model::Vertex> dense) {
    size_t j = 0;  // the input segment (j, j + 1) being walked
    for (auto& v : dense) {
        while (j + 1 < input.size() && model::same_xy(v, input[j + 1])) ++j;  // through repeated vertices too
        if (model::same_xy(v, input[j])) {
            v = input[j];
            continue;
        }
        if (j + 1 >= input.size()) continue;
        const auto &a = input[j], &b = input[j + 1];
        const double whole = std::hypot(b.x - a.x, b.y - a.y);
        const double f = whole > 0 ? std::hypot(v.x - a.x, v.y - a.y) / whole : 0.0;
        v.z = a.z + (b.z - a.z) * f;
        v.m = a.m + (b.m - a.m) * f;
    }
    return dense;
}

// Whether the vertices are all at one place (or there are none).
bool degenerate_points(const std::vector<model::Vertex>& points) {
    return std::all_of(points.begin(), points.end(), [&](const model::Vertex& v) { return model::same_xy(v, points.front()); });
}

bool degenerate(const model::Part& p) { return degenerate_points(p.points); }

// Each ring of the GEOS polygon `g` generalized on its own as a closed line, where that collapses
// it (fewer than three distinct vertices, or no area left): the parts GEOS's polygon generalizer
// drops, as a GEOS multi-line.
GeosPtr collapsed_rings(const GEOSGeometry* g, double max_offset) {
    std::vector<GeosPtr> collapsed;
    const auto visit = [&](const GEOSGeometry* ring) {
        const auto all = line_vertices(ring, "generalize");
        auto vertices = douglas_peucker(all, max_offset);
        if (vertices.empty() || (vertices.size() >= 4 && shoelace(vertices) != 0)) return;
        // A ring needs three vertices: one collapsed onto its start keeps the vertex farthest from
        // it as well (what Douglas-Peucker keeps first), so the part keeps its reach.
        if (vertices.size() < 3) {
            const auto far = std::max_element(all.begin(), all.end(), [&](const auto& a, const auto& b) {
                return std::hypot(a.x - all[0].x, a.y - all[0].y) < std::hypot(b.x - all[0].x, b.y - all[0].y);
            });
            vertices = {all.front(), *far, all.front()};
        }
        collapsed.push_back(geos_line(vertices, false));
    };
    for (int i = 0, n = GEOSGetNumGeometries_r(geos(), g); i < n; ++i) {
        const GEOSGeometry* polygon = GEOSGetGeometryN_r(geos(), g, i);
        if (GEOSGeomTypeId_r(geos(), polygon) != GEOS_POLYGON || GEOSisEmpty_r(geos(), polygon) == 1) continue;
        visit(GEOSGetExteriorRing_r(geos(), polygon));
        for (int k = 0, holes = GEOSGetNumInteriorRings_r(geos(), polygon); k < holes; ++k)
            visit(GEOSGetInteriorRingN_r(geos(), polygon, k));
    }
    return geos_collection(GEOS_MULTILINESTRING, std::move(collapsed));
}

// The collapsed rings of `gg`, z and m restored from `input`, added to `out` as rings.
void keep_collapsed_rings(model::Multipart& out, const GEOSGeometry* gg, double max_offset, const model::Geometry& input) {
    GeosPtr lines = collapsed_rings(gg, max_offset);
    if (GEOSisEmpty_r(geos(), lines.get()) == 1) return;
    GeometryPtr paths = result_of(lines.get(), shape_of(GeometryKind::Polyline, input), {&input});
    // Kept closed: a ring of fewer than three vertices cannot be held by every reader.
    for (auto& path : static_cast<model::Multipart&>(*paths).parts) {
        path.ring = true;
        out.parts.push_back(std::move(path));
    }
}

// A polyline generalized path by path, as GEOS generalizes the lines it is given (paths of fewer
// than two vertices are none); the vertices Douglas-Peucker keeps are the input's own, z and m
// included, so no position is looked up (a path that comes back to a point passes it with other
// values). A path it leaves without length is a degenerate part: removed only when asked.
GeometryPtr generalized_paths(const model::Multipart& polyline, double max_offset, bool remove_degenerate_parts) {
    auto out = std::make_unique<model::Multipart>(GeometryKind::Polyline, std::vector<model::Part>{}, polyline.dims);
    out->set_spatial_reference(polyline.spatial_reference());
    for (const auto& part : polyline.parts) {
        auto vertices = straight_vertices(part);
        if (vertices.size() < 2) continue;
        model::Part p;
        p.points = douglas_peucker(vertices, max_offset);
        for (auto& v : p.points) {
            if (!polyline.dims.has_z) v.z = model::kNaN;
            if (!polyline.dims.has_m) v.m = model::kNaN;
        }
        p.dims = polyline.dims;
        if (remove_degenerate_parts && degenerate(p)) continue;
        out->parts.push_back(std::move(p));
    }
    return out;
}

}  // namespace

GeometryPtr boundary(const model::Geometry& g) {
    switch (g.kind()) {
        case GeometryKind::Polygon:
            return polygon_boundary(static_cast<const model::Multipart&>(g));
        case GeometryKind::Envelope:
            return polygon_boundary(envelope_polygon(static_cast<const model::Envelope&>(g)));
        case GeometryKind::Polyline: {
            GeosPtr gg = to_geos(g);
            GeosPtr b = geos_check(GEOSBoundary_r(geos(), gg.get()), "boundary");
            return result_of(b.get(), shape_of(GeometryKind::Multipoint, g), {&g});
        }
        default:
            return empty_geometry(shape_of(GeometryKind::Multipoint, g));
    }
}

GeometryPtr convex_hull(const model::Geometry& g) {
    require_finite(g);
    GeosPtr gg = to_geos(g);
    return hull_of(gg.get(), shape_of(area_kind(g), g), {&g});
}

Geometries convex_hulls(const std::vector<const model::Geometry*>& geometries, bool merge) {
    Geometries out;
    if (!merge) {
        for (const auto* g : geometries) out.push_back(convex_hull(*g));
        return out;
    }
    if (geometries.empty()) return out;
    std::vector<GeosPtr> members;
    for (const auto* g : geometries) {
        require_finite(*g);
        members.push_back(to_geos(*g));
    }
    GeosPtr all = geos_collection(GEOS_GEOMETRYCOLLECTION, std::move(members));
    GeosPtr hull = geos_hull(all.get());
    ResultShape shape = shape_of(GeometryKind::Polygon, geometries);
    if (GEOSisEmpty_r(geos(), hull.get()) == 0) shape.kind = kind_of_geos(hull.get(), shape.kind);
    out.push_back(result_of(hull.get(), shape, geometries));
    return out;
}

GeometryPtr buffer(const model::Geometry& g, double distance) {
    check_distance(distance);
    require_finite(g);
    GeosPtr b = buffer_geos(to_geos(g), distance);
    return result_of(b.get(), shape_of(GeometryKind::Polygon, g), {&g});
}

Geometries buffers(const std::vector<const model::Geometry*>& geometries, const std::vector<double>& distances,
                   bool unite) {
    if (!geometries.empty() && distances.empty())
        invalid("No buffer distances were given for the geometries.");
    for (double d : distances) check_distance(d);
    Geometries out;
    if (!unite) {
        for (size_t i = 0; i < geometries.size(); ++i)
            out.push_back(buffer(*geometries[i], distances[std::min(i, distances.size() - 1)]));
        return out;
    }
    if (geometries.empty()) return out;
    const ResultShape shape = shape_of(GeometryKind::Polygon, geometries);
    std::vector<GeosPtr> members;
    for (size_t i = 0; i < geometries.size(); ++i) {
        require_finite(*geometries[i]);
        members.push_back(buffer_geos(to_geos(*geometries[i]), distances[std::min(i, distances.size() - 1)]));
    }
    out.push_back(united(std::move(members), shape, geometries));
    return out;
}

GeometryPtr densify(const model::Geometry& g, double max_segment_length) {
    if (!(max_segment_length > 0) || !std::isfinite(max_segment_length))
        invalid("The maximum segment length must be a positive number.");
    if (dimension_of(g.kind()) == 0) return g.clone();
    require_finite(g);
    require_vertex_budget(length(g) / max_segment_length);
    // Part by part, as lines: GEOS densifies a polygon as a whole only to rebuild it with a zero
    // buffer, which would change an invalid polygon's shape (and leaks when that buffer fails).
    const std::optional<model::Multipart> from_envelope =
        g.kind() == GeometryKind::Envelope ? std::optional(envelope_polygon(static_cast<const model::Envelope&>(g)))
                                           : std::nullopt;
    const auto& source = from_envelope ? *from_envelope : static_cast<const model::Multipart&>(g);
    auto out = std::make_unique<model::Multipart>(source.kind(), std::vector<model::Part>{}, g.dims);
    out->set_spatial_reference(g.spatial_reference());
    for (const auto& part : source.parts) {
        auto vertices = straight_vertices(part);
        if (!degenerate_points(vertices)) {
            if (part.ring) vertices.push_back(vertices.front());
            GeosPtr line = geos_line(vertices, false);
            GeosPtr dense = geos_check(GEOSDensify_r(geos(), line.get(), max_segment_length), "densify");
            vertices = along_segments(vertices, line_vertices(dense.get(), "densify"));
            if (part.ring) vertices.pop_back();
        }
        model::Part p;
        p.points = std::move(vertices);
        p.ring = part.ring;
        p.dims = g.dims;
        out->parts.push_back(std::move(p));
    }
    return out;
}

GeometryPtr generalize(const model::Geometry& g, double max_offset, bool remove_degenerate_parts) {
    if (!(max_offset >= 0) || !std::isfinite(max_offset)) invalid("The maximum offset must be a number of at least 0.");
    if (dimension_of(g.kind()) == 0) return g.clone();
    require_finite(g);
    // Douglas-Peucker works on the curves' chords, which can outnumber the vertices many times.
    if (const auto* multipart = dynamic_cast<const model::Multipart*>(&g)) {
        double chords = 0;
        for (const auto& part : multipart->parts) chords += added_chord_vertices(part);
        require_vertex_budget(chords, "The curves of the geometry make too many chords to generalize.");
    }
    if (g.kind() == GeometryKind::Polyline) return generalized_paths(static_cast<const model::Multipart&>(g), max_offset, remove_degenerate_parts);
    GeosPtr gg = valid_area(to_geos(g));
    GeosPtr s = douglas_peucker(gg.get(), max_offset);
    GeometryPtr out = result_of(s.get(), shape_of(GeometryKind::Polygon, g), {&g});
    // GEOS drops polygon rings that collapse; they are degenerate parts, kept unless asked.
    if (!remove_degenerate_parts) keep_collapsed_rings(static_cast<model::Multipart&>(*out), gg.get(), max_offset, g);
    return out;
}

GeometryPtr label_point(const model::Geometry& g) {
    const ResultShape shape = shape_of(GeometryKind::Point, g);
    if (g.kind() == GeometryKind::Envelope && !is_empty(g)) {
        const auto& e = static_cast<const model::Envelope&>(g);
        auto p = std::make_unique<model::Point>(model::Vertex{(e.x.min + e.x.max) / 2, (e.y.min + e.y.max) / 2}, g.dims);
        p->set_spatial_reference(g.spatial_reference());
        return p;
    }
    if (is_empty(g)) return empty_geometry(shape);
    require_finite(g);
    GeosPtr gg = to_geos(g);
    GeosPtr p = with_repair("label point", [](const GEOSGeometry* x, const GEOSGeometry*) {
        return GEOSPointOnSurface_r(geos(), x);
    }, gg.get());
    return result_of(p.get(), shape, {&g});
}

}  // namespace ops
