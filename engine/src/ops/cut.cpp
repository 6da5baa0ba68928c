#include "ops/cut.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <unordered_set>
#include <utility>

#include "model/engine_error.h"
#include "model/multipart.h"
#include "ops/curve_densify.h"
#include "ops/path_sides.h"
#include "ops/spatial_references.h"
#include "ops/to_geos.h"

namespace ops {
namespace {

using model::GeometryKind;
using model::Vertex;
using Lines = std::vector<std::vector<Vertex>>;

struct PreparedDeleter {
    void operator()(const GEOSPreparedGeometry* p) const { GEOSPreparedGeom_destroy_r(geos(), p); }
};
using PreparedPtr = std::unique_ptr<const GEOSPreparedGeometry, PreparedDeleter>;

Lines straight_lines(const model::Multipart& m) {
    Lines out;
    for (const auto& part : m.parts) {
        auto v = straight_vertices(part);
        if (part.ring && !v.empty()) v.push_back(v.front());
        if (v.size() >= 2) out.push_back(std::move(v));
    }
    return out;
}

std::vector<GeosPtr> members_of(const GEOSGeometry* g) {
    std::vector<GeosPtr> out;
    for (int i = 0, n = GEOSGetNumGeometries_r(geos(), g); i < n; ++i) {
        const GEOSGeometry* m = GEOSGetGeometryN_r(geos(), g, i);
        if (GEOSisEmpty_r(geos(), m) == 0) out.push_back(geos_check(GEOSGeom_clone_r(geos(), m), "cut"));
    }
    return out;
}

// Whether the vertices of a line, or of a polygon's shell, span `dimension` dimensions: two
// distinct points for a line, three not on one line (by an exact orientation) for a shell. An
// envelope without width or height reaches GEOS as a segment or a point, and a ring of no area as
// a polygon GEOS keeps: neither has an area to divide.
bool spans(const GEOSGeometry* part, int dimension) {
    if (GEOSGeom_getDimensions_r(geos(), part) != dimension) return false;
    const GEOSGeometry* line = dimension == 2 ? GEOSGetExteriorRing_r(geos(), part) : part;
    const auto vertices = line_vertices(line, "cut");
    const auto differs = [&](const Vertex& v) { return !model::same_xy(v, vertices.front()); };
    const auto second = std::find_if(vertices.begin(), vertices.end(), differs);
    if (second == vertices.end() || dimension == 1) return second != vertices.end();
    return std::any_of(second, vertices.end(), [&](const Vertex& v) {
        return GEOSOrientationIndex_r(geos(), vertices.front().x, vertices.front().y, second->x, second->y, v.x, v.y) != 0;
    });
}

// The faces that the lines enclose, once noded where they cross.
std::vector<GeosPtr> faces_of(std::vector<GeosPtr> lines) {
    GeosPtr all = geos_collection(GEOS_GEOMETRYCOLLECTION, std::move(lines));
    GeosPtr noded = unary_union(all.get());
    const GEOSGeometry* noded_raw = noded.get();
    GeosPtr faces = geos_check(GEOSPolygonize_r(geos(), &noded_raw, 1), "polygonize");
    return members_of(faces.get());
}

// A piece of a part, and a point inside it (the middle of a line, a point on a polygon's surface)
// where its side of the cutter is judged.
struct Piece {
    GeosPtr geometry;
    GeosPtr probe;
};

Piece piece_of(GeosPtr g) {
    GeosPtr probe = GEOSGeomTypeId_r(geos(), g.get()) == GEOS_LINESTRING
                        ? geos_check(GEOSInterpolateNormalized_r(geos(), g.get(), 0.5), "cut")
                        : geos_check(GEOSPointOnSurface_r(geos(), g.get()), "cut");
    return {std::move(g), std::move(probe)};
}

std::pair<double, double> xy_of(const Piece& piece) {
    double x = 0, y = 0;
    GEOSGeomGetX_r(geos(), piece.probe.get(), &x);
    GEOSGeomGetY_r(geos(), piece.probe.get(), &y);
    return {x, y};
}

Side side_of(const PathSides& cutter, const Piece& piece) {
    const auto [x, y] = xy_of(piece);
    return cutter.side_of(x, y);
}

// A polygon's rings with its inside on their right: the shell clockwise, holes the other way.
std::vector<std::vector<Vertex>> rings_around(const GEOSGeometry* polygon) {
    std::vector<std::vector<Vertex>> rings;
    const auto add = [&](const GEOSGeometry* ring, bool hole) {
        auto vertices = line_vertices(ring, "cut");
        char ccw = 0;
        GEOSCoordSeq_isCCW_r(geos(), GEOSGeom_getCoordSeq_r(geos(), ring), &ccw);
        if ((ccw != 0) != hole) std::reverse(vertices.begin(), vertices.end());
        rings.push_back(std::move(vertices));
    };
    add(GEOSGetExteriorRing_r(geos(), polygon), false);
    for (int i = 0, n = GEOSGetNumInteriorRings_r(geos(), polygon); i < n; ++i)
        add(GEOSGetInteriorRingN_r(geos(), polygon, i), true);
    return rings;
}

// Whether the polygon holds a face's probe. Its nearest ring settles that where nothing else
// comes as near; the rest ask GEOS, the polygon prepared on the first such question. GEOS indexes
// a prepared polygon's edges by height, and a probe costs every edge at its height: each tooth
// of a comb, for every face of it.
class Holder {
public:
    explicit Holder(const GEOSGeometry* polygon) : polygon_(polygon), rings_(rings_around(polygon), PathSides::Ends::Closed) {}

    bool holds(const Piece& piece) {
        const auto [x, y] = xy_of(piece);
        if (const auto side = rings_.certain_side_of(x, y)) return *side == Side::Right;
        if (prepared_ == nullptr) prepared_.reset(GEOSPrepare_r(geos(), polygon_));
        if (prepared_ == nullptr) geos_failed("cut");
        return geos_predicate(GEOSPreparedIntersects_r(geos(), prepared_.get(), piece.probe.get()), "cut");
    }

private:
    const GEOSGeometry* polygon_;
    PathSides rings_;
    PreparedPtr prepared_;
};

// Splits one part (a line or a polygon) into its pieces by the cutter: the line's stretches
// between crossings, the polygon's faces less those of its holes and those the cutter closes off
// outside it.
std::vector<Piece> pieces_of(const GEOSGeometry* part, const GEOSGeometry* cutter) {
    std::vector<Piece> pieces;
    if (GEOSGeomTypeId_r(geos(), part) == GEOS_LINESTRING) {
        GeosPtr rest = with_repair("cut", [](const GEOSGeometry* a, const GEOSGeometry* b) {
            return GEOSDifference_r(geos(), a, b);
        }, part, cutter);
        for (auto& line : members_of(rest.get())) pieces.push_back(piece_of(std::move(line)));
        return pieces;
    }
    std::vector<GeosPtr> lines;
    lines.push_back(geos_check(GEOSBoundary_r(geos(), part), "cut"));
    lines.push_back(geos_check(GEOSGeom_clone_r(geos(), cutter), "cut"));
    Holder holder(part);
    for (auto& face : faces_of(std::move(lines))) {
        Piece piece = piece_of(std::move(face));
        if (holder.holds(piece)) pieces.push_back(std::move(piece));
    }
    return pieces;
}

struct Pieces {
    std::vector<GeosPtr> left, right, uncut;
    size_t divided = 0;  // parts
};

// Whether two of the faces share an edge (the same noded segment, either way round).
bool share_an_edge(const std::vector<GeosPtr>& faces) {
    using Edge = std::array<double, 4>;
    struct Hash {
        size_t operator()(const Edge& e) const {
            size_t h = 0;
            for (double v : e) h = (h ^ std::bit_cast<uint64_t>(v)) * 0x9E3779B97F4A7C15ULL;
            return h;
        }
    };
    std::unordered_set<Edge, Hash> seen;
    const auto ring_shares = [&](const GEOSGeometry* ring) {
        const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(geos(), ring);
        unsigned n = 0;
        GEOSCoordSeq_getSize_r(geos(), seq, &n);
        std::array<double, 2> a{}, b{};
        for (unsigned i = 0; i < n; ++i, a = b) {
            GEOSCoordSeq_getXY_r(geos(), seq, i, &b[0], &b[1]);
            b = {b[0] + 0.0, b[1] + 0.0};  // -0 and 0 are one place
            if (i == 0) continue;
            const Edge e = a < b ? Edge{a[0], a[1], b[0], b[1]} : Edge{b[0], b[1], a[0], a[1]};
            if (!seen.insert(e).second) return true;
        }
        return false;
    };
    for (const auto& face : faces) {
        if (ring_shares(GEOSGetExteriorRing_r(geos(), face.get()))) return true;
        for (int i = 0, n = GEOSGetNumInteriorRings_r(geos(), face.get()); i < n; ++i)
            if (ring_shares(GEOSGetInteriorRingN_r(geos(), face.get(), i))) return true;
    }
    return false;
}

// The faces on one side, dissolved where they meet. Faces of one polygonization overlap nowhere:
// where they share no edge they are already a multipolygon. Where they do, they meet only along
// whole noded edges: GEOS's coverage union takes them in time linear in their edges, where its
// general union spends an overlay on every pair it joins. It refuses faces that overlap (parts of
// the input did): those take the general union.
GeosPtr dissolved(std::vector<GeosPtr> faces, bool one_polygonization) {
    if (one_polygonization && !share_an_edge(faces)) return geos_collection(GEOS_MULTIPOLYGON, std::move(faces));
    GeosPtr all = geos_collection(GEOS_GEOMETRYCOLLECTION, std::move(faces));
    if (GEOSGeometry* united = GEOSCoverageUnion_r(geos(), all.get())) return GeosPtr(united);
    geos_reset_error();
    return unary_union(all.get());
}

void split(const GEOSGeometry* part, const GEOSGeometry* cutter, const PathSides& sides, Pieces& out) {
    std::vector<GeosPtr> left, right;
    for (auto& piece : pieces_of(part, cutter))
        (side_of(sides, piece) == Side::Right ? right : left).push_back(std::move(piece.geometry));
    if (left.empty() || right.empty()) {
        out.uncut.push_back(geos_check(GEOSGeom_clone_r(geos(), part), "cut"));
        return;
    }
    ++out.divided;
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
    Lines cutter_lines = straight_lines(static_cast<const model::Multipart&>(cutter));
    if (cutter_lines.empty()) return out;
    const PathSides sides(std::move(cutter_lines));
    GeosPtr gg = to_geos(g), gc = to_geos(cutter);
    Pieces pieces;
    for (auto& part : members_of(gg.get()))
        if (spans(part.get(), d)) split(part.get(), gc.get(), sides, pieces);
    if (pieces.left.empty()) return out;
    const ResultShape shape = shape_of(kind_of_dimension(d), g, cutter);
    auto read = [&](std::vector<GeosPtr> members) {
        GeosPtr c = d == 2 ? dissolved(std::move(members), pieces.divided == 1) : geos_collection(GEOS_GEOMETRYCOLLECTION, std::move(members));
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
