#include "ops/cut.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/engine_error.h"
#include "model/multipart.h"
#include "ops/curve_densify.h"
#include "ops/spatial_references.h"
#include "ops/to_geos.h"

namespace ops {
namespace {

using model::GeometryKind;
using model::Vertex;
using Lines = std::vector<std::vector<Vertex>>;

enum class Side { Left, Right, On };

Lines straight_lines(const model::Multipart& m) {
    Lines out;
    for (const auto& part : m.parts) {
        auto v = straight_vertices(part);
        if (part.ring && !v.empty()) v.push_back(v.front());
        if (v.size() >= 2) out.push_back(std::move(v));
    }
    return out;
}

Side orientation(const Vertex& a, const Vertex& b, double x, double y) {
    const int o = GEOSOrientationIndex_r(geos(), a.x, a.y, b.x, b.y, x, y);
    return o > 0 ? Side::Left : o < 0 ? Side::Right : Side::On;
}

// The side of the cutter that (x, y) lies on, judged at the cutter's nearest point. Where that
// point is a vertex joining two segments, the turn there decides: after a left turn the left
// side is the wedge left of both segments, after a right turn everything left of either.
Side side_of(const Lines& cutter, double x, double y) {
    double best = std::numeric_limits<double>::infinity();
    Side side = Side::On;
    for (const auto& line : cutter) {
        for (size_t i = 0; i + 1 < line.size(); ++i) {
            const Vertex &a = line[i], &b = line[i + 1];
            const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
            if (len2 == 0) continue;
            const double f = std::clamp(((x - a.x) * dx + (y - a.y) * dy) / len2, 0.0, 1.0);
            const double d = std::hypot(a.x + f * dx - x, a.y + f * dy - y);
            if (d >= best) continue;
            best = d;
            side = orientation(a, b, x, y);
            const bool joint_after = f == 1.0 && i + 2 < line.size();
            const bool joint_before = f == 0.0 && i > 0;
            if (!joint_after && !joint_before) continue;
            const Vertex& p = joint_after ? a : line[i - 1];
            const Vertex& v = joint_after ? b : a;
            const Vertex& n = joint_after ? line[i + 2] : b;
            const Side s1 = orientation(p, v, x, y), s2 = orientation(v, n, x, y);
            const bool left_turn = orientation(p, v, n.x, n.y) == Side::Left;
            const bool left = left_turn ? (s1 == Side::Left && s2 == Side::Left) : (s1 == Side::Left || s2 == Side::Left);
            side = left ? Side::Left : (s1 == Side::On && s2 == Side::On ? Side::On : Side::Right);
        }
    }
    return side;
}

Side side_of_piece(const Lines& cutter, const GEOSGeometry* piece) {
    GeosPtr p = GEOSGeomTypeId_r(geos(), piece) == GEOS_LINESTRING
                    ? geos_check(GEOSInterpolateNormalized_r(geos(), piece, 0.5), "cut")
                    : geos_check(GEOSPointOnSurface_r(geos(), piece), "cut");
    double x = 0, y = 0;
    GEOSGeomGetX_r(geos(), p.get(), &x);
    GEOSGeomGetY_r(geos(), p.get(), &y);
    return side_of(cutter, x, y);
}

std::vector<GeosPtr> members_of(const GEOSGeometry* g) {
    std::vector<GeosPtr> out;
    for (int i = 0, n = GEOSGetNumGeometries_r(geos(), g); i < n; ++i) {
        const GEOSGeometry* m = GEOSGetGeometryN_r(geos(), g, i);
        if (GEOSisEmpty_r(geos(), m) == 0) out.push_back(geos_check(GEOSGeom_clone_r(geos(), m), "cut"));
    }
    return out;
}

// The faces that the lines enclose, once noded where they cross.
std::vector<GeosPtr> faces_of(std::vector<GeosPtr> lines) {
    GeosPtr all = geos_collection(GEOS_GEOMETRYCOLLECTION, std::move(lines));
    GeosPtr noded = unary_union(all.get());
    const GEOSGeometry* noded_raw = noded.get();
    GeosPtr faces = geos_check(GEOSPolygonize_r(geos(), &noded_raw, 1), "polygonize");
    return members_of(faces.get());
}

struct Pieces {
    std::vector<GeosPtr> left, right, uncut;
};

// Splits one part (a line or a polygon) into its pieces by the cutter: the line's stretches
// between crossings, the polygon's faces.
std::vector<GeosPtr> pieces_of(const GEOSGeometry* part, const GEOSGeometry* cutter) {
    if (GEOSGeomTypeId_r(geos(), part) == GEOS_LINESTRING) {
        GeosPtr rest = with_repair("cut", [](const GEOSGeometry* a, const GEOSGeometry* b) {
            return GEOSDifference_r(geos(), a, b);
        }, part, cutter);
        return members_of(rest.get());
    }
    GeosPtr edges = geos_check(GEOSBoundary_r(geos(), part), "cut");
    std::vector<GeosPtr> lines;
    lines.push_back(std::move(edges));
    lines.push_back(geos_check(GEOSGeom_clone_r(geos(), cutter), "cut"));
    std::vector<GeosPtr> inside;
    for (auto& face : faces_of(std::move(lines))) {
        GeosPtr probe = geos_check(GEOSPointOnSurface_r(geos(), face.get()), "cut");
        if (GEOSIntersects_r(geos(), part, probe.get()) == 1) inside.push_back(std::move(face));
    }
    return inside;
}

void split(const GEOSGeometry* part, const GEOSGeometry* cutter, const Lines& cutter_lines, Pieces& out) {
    auto pieces = pieces_of(part, cutter);
    std::vector<GeosPtr> left, right;
    for (auto& piece : pieces)
        (side_of_piece(cutter_lines, piece.get()) == Side::Right ? right : left).push_back(std::move(piece));
    if (left.empty() || right.empty()) {
        out.uncut.push_back(geos_check(GEOSGeom_clone_r(geos(), part), "cut"));
        return;
    }
    for (auto& p : left) out.left.push_back(std::move(p));
    for (auto& p : right) out.right.push_back(std::move(p));
}

}  // namespace

Geometries cut(const model::Geometry& g, const model::Geometry& cutter) {
    common_spatial_reference(g, cutter);
    Geometries out;
    const int d = dimension_of(g.kind());
    if (d == 0 || cutter.kind() != GeometryKind::Polyline) return out;
    require_finite(g);
    require_finite(cutter);
    const Lines cutter_lines = straight_lines(static_cast<const model::Multipart&>(cutter));
    if (cutter_lines.empty()) return out;
    GeosPtr gg = to_geos(g), gc = to_geos(cutter);
    Pieces pieces;
    for (auto& part : members_of(gg.get())) split(part.get(), gc.get(), cutter_lines, pieces);
    if (pieces.left.empty()) return out;
    const ResultShape shape = shape_of(kind_of_dimension(d), g, cutter);
    auto read = [&](std::vector<GeosPtr> members) {
        GeosPtr c = geos_collection(GEOS_GEOMETRYCOLLECTION, std::move(members));
        if (d == 2) c = unary_union(c.get());
        return result_of(c.get(), shape, {&g}, VertexAttributes::NewVertices::Interpolated);
    };
    out.push_back(read(std::move(pieces.left)));
    out.push_back(read(std::move(pieces.right)));
    for (auto& part : pieces.uncut) out.push_back(result_of(part.get(), shape, {&g}));
    return out;
}

Geometries auto_complete(const std::vector<const model::Geometry*>& existing,
                         const std::vector<const model::Geometry*>& lines) {
    for (const auto* g : existing)
        if (dimension_of(g->kind()) != 2)
            throw model::EngineError(model::kInvalidArgument, "The existing boundaries must be polygons.");
    for (const auto* g : lines)
        if (g->kind() != GeometryKind::Polyline)
            throw model::EngineError(model::kInvalidArgument, "The new boundaries must be polylines.");
    std::vector<const model::Geometry*> all(existing);
    all.insert(all.end(), lines.begin(), lines.end());
    const ResultShape shape = shape_of(GeometryKind::Polygon, all);
    Geometries out;
    if (lines.empty()) return out;
    std::vector<GeosPtr> edges, areas;
    for (const auto* g : all) {
        require_finite(*g);
        GeosPtr gg = to_geos(*g);
        if (g->kind() == GeometryKind::Polyline) {
            edges.push_back(std::move(gg));
        } else {
            edges.push_back(geos_check(GEOSBoundary_r(geos(), gg.get()), "auto-complete"));
            areas.push_back(std::move(gg));
        }
    }
    std::vector<GeosPtr> faces = faces_of(std::move(edges));
    GeosPtr taken_all = geos_collection(GEOS_GEOMETRYCOLLECTION, std::move(areas));
    GeosPtr taken = unary_union(taken_all.get());
    for (auto& face : faces) {
        GeosPtr rest = with_repair("auto-complete", [](const GEOSGeometry* a, const GEOSGeometry* b) {
            return GEOSDifference_r(geos(), a, b);
        }, face.get(), taken.get());
        double area = 0;
        GEOSArea_r(geos(), rest.get(), &area);
        if (area > 0) out.push_back(result_of(rest.get(), shape, all));
    }
    return out;
}

}  // namespace ops
