#include "ops/geodetic_measures.h"

#include <GeographicLib/PolygonArea.hpp>

#include <algorithm>
#include <cmath>

#include "model/engine_error.h"
#include "model/multipart.h"
#include "ops/geodetic_plane.h"
#include "ops/vertex_budget.h"

namespace ops {
namespace {

// The smaller of the two regions a ring parts the ellipsoid into, signed: positive when it lies
// left of the ring as it runs, its edges through `points` (longitude and latitude). GeographicLib
// measures it directly, so a small region keeps every digit of its own (as A less the other side
// it would keep only those of A, 1/16 m² on the earth).
template <typename Area>
double smaller_region(Area area, const std::vector<LonLat>& points) {
    for (const auto& p : points) area.AddPoint(p.lat, p.lon);
    double perimeter = 0, value = 0;
    area.Compute(false, true, perimeter, value);
    return value;
}

// The ring's points along which GeographicLib's geodesics follow its edges.
std::vector<LonLat> geodesic_points(const GeodeticFrame& frame, CurveType type, const std::vector<model::Vertex>& own,
                                    const std::vector<LonLat>& points) {
    std::vector<LonLat> fine;
    for (size_t i = 0; i < points.size(); ++i) {
        const size_t j = (i + 1) % points.size();
        auto piece = GeodeticSegment(frame, type, own[i], own[j], points[i], points[j]).fine_points();
        fine.insert(fine.end(), piece.begin(), piece.end() - 1);
    }
    return fine;
}

// The area of a ring's region, in [0, A) for an ellipsoid of area A. The plane proposes a side and
// about how much it holds; the edges as they run on the ellipsoid may bow past the vertices and
// wind the other way than the plane does (a sliver along a parallel, whose geodesics run
// poleward of it), so the plane's size decides where it is clear: a region the plane reads as
// under a quarter of the ellipsoid is the smaller side, one over three quarters the larger, and
// between them the plane's side holds. A ring with no side in the plane takes the smaller.
double region_area(int side, PlaneShare share, double smaller_signed, double whole) {
    const double smaller = std::abs(smaller_signed);
    if (side == 0 || share == PlaneShare::UnderQuarter) return smaller;
    if (share == PlaneShare::OverThreeQuarters) return whole - smaller;
    const bool plane_side_smaller = (smaller_signed >= 0) == (side > 0);
    return plane_side_smaller ? smaller : whole - smaller;
}

struct MeasuredRing {
    std::vector<model::Vertex> own;  // kept only for the curve types followed by geodesic pieces
    std::vector<LonLat> points;
    int side;
    PlaneShare share;
};

}  // namespace

double geodetic_area(const model::Geometry& geometry, CurveType type) {
    if (geometry.kind() != model::GeometryKind::Polygon && geometry.kind() != model::GeometryKind::Envelope) return 0.0;
    const auto frame = frame_of(geometry);
    const bool pieces = type != CurveType::Geodesic && type != CurveType::Loxodrome;
    std::vector<MeasuredRing> rings;
    // Exteriors add and holes take away, their roles read by the ring rule on the rings as their
    // edges run, so that a ring's role does not hang on how its longitudes were written.
    std::vector<std::vector<model::Vertex>> runs;
    for_each_straight_part(geometry, [&](const model::Part& ring) {
        if (ring.points.size() < 3) {
            rings.push_back({{}, {}, 0, PlaneShare::Unread});
            runs.push_back(ring.points);
            return;
        }
        auto points = geographic(*frame, ring.points);
        PlaneRing plane = plane_ring(*frame, type, ring.points, points);
        rings.push_back({pieces ? ring.points : std::vector<model::Vertex>{}, std::move(points), plane.side, plane.share});
        runs.push_back(std::move(plane.run));
    });
    const std::vector<bool> exterior = plane_exteriors(*frame, std::move(runs));
    const double whole = frame->geodesic.EllipsoidArea();
    double total = 0;
    for (size_t r = 0; r < rings.size(); ++r) {
        const MeasuredRing& ring = rings[r];
        if (ring.points.empty()) continue;
        double smaller = 0;
        if (type == CurveType::Geodesic) {
            smaller = smaller_region(GeographicLib::PolygonArea(frame->geodesic), ring.points);
        } else if (type == CurveType::Loxodrome) {
            smaller = smaller_region(GeographicLib::PolygonAreaRhumb(frame->rhumb), ring.points);
        } else {
            smaller = smaller_region(GeographicLib::PolygonArea(frame->geodesic),
                                     geodesic_points(*frame, type, ring.own, ring.points));
        }
        const double a = region_area(ring.side, ring.share, smaller, whole);
        total += exterior[r] ? a : -a;
    }
    return std::max(total, 0.0);
}

double geodetic_length(const model::Geometry& geometry, CurveType type) {
    if (geometry.kind() == model::GeometryKind::Point || geometry.kind() == model::GeometryKind::Multipoint) return 0.0;
    const auto frame = frame_of(geometry);
    double total = 0;
    for_each_straight_part(geometry, [&](const model::Part& part) {
        const size_t segments = model::segment_count(part);
        if (segments == 0) return;
        const auto points = geographic(*frame, part.points);
        for (size_t i = 0; i < segments; ++i) {
            const size_t j = (i + 1) % points.size();
            const LonLat a = points[i], b = points[j];
            double s = 0;
            if (type == CurveType::Geodesic) {
                frame->geodesic.Inverse(a.lat, a.lon, b.lat, b.lon, s);
            } else {
                s = GeodeticSegment(*frame, type, part.points[i], part.points[j], a, b).length();
            }
            total += s;
        }
    });
    return total;
}

std::unique_ptr<model::Geometry> geodetic_densify(const model::Geometry& geometry, CurveType type, double max_length) {
    if (!(max_length > 0) || !std::isfinite(max_length))
        throw model::EngineError(model::kInvalidArgument, "The maximum segment length must be positive and finite.");
    if (geometry.kind() == model::GeometryKind::Point || geometry.kind() == model::GeometryKind::Multipoint)
        return geometry.clone();
    const auto frame = frame_of(geometry);
    // The whole result is counted before any of it is built: pieces per segment, in part order.
    std::vector<double> pieces;
    double vertices = 0;
    for_each_straight_part(geometry, [&](const model::Part& part) {
        const size_t segments = model::segment_count(part);
        const auto points = geographic(*frame, part.points);
        vertices += static_cast<double>(part.points.size());
        for (size_t i = 0; i < segments; ++i) {
            const size_t j = (i + 1) % part.points.size();
            const GeodeticSegment segment(*frame, type, part.points[i], part.points[j], points[i], points[j]);
            pieces.push_back(piece_count(segment.length() / max_length, kMaxResultVertices + 1));
            vertices += pieces.back() - 1;
        }
    });
    require_vertex_budget(vertices);
    std::vector<model::Part> parts;
    size_t next_piece = 0;
    for_each_straight_part(geometry, [&](const model::Part& part) {
        model::Part result;
        result.ring = part.ring;
        result.dims = part.dims;
        const size_t segments = model::segment_count(part);
        const auto points = geographic(*frame, part.points);
        // Added vertices are made in longitude and latitude and brought back together at the end.
        std::vector<size_t> added;
        std::vector<model::Vertex> added_geographic;
        for (size_t i = 0; i < part.points.size(); ++i) {
            result.points.push_back(part.points[i]);
            if (i >= segments) continue;
            const double n = pieces[next_piece++];
            if (!(n > 1)) continue;
            const size_t j = (i + 1) % part.points.size();
            const GeodeticSegment segment(*frame, type, part.points[i], part.points[j], points[i], points[j]);
            std::vector<double> distances;
            for (double k = 1; k < n; ++k) distances.push_back(segment.length() * k / n);
            const auto between = segment.at_distances(distances);
            const auto& a = part.points[i];
            const auto& b = part.points[j];
            for (size_t k = 0; k < between.size(); ++k) {
                const double t = static_cast<double>(k + 1) / n;
                added.push_back(result.points.size());
                added_geographic.push_back({between[k].lon, between[k].lat, model::kNaN, model::kNaN});
                result.points.push_back({between[k].lon, between[k].lat, a.z + (b.z - a.z) * t, a.m + (b.m - a.m) * t});
            }
        }
        if (frame->from_geographic) frame->from_geographic->run(added_geographic);
        for (size_t k = 0; k < added.size(); ++k) {
            result.points[added[k]].x = added_geographic[k].x;
            result.points[added[k]].y = added_geographic[k].y;
        }
        parts.push_back(std::move(result));
    });
    const auto kind = geometry.kind() == model::GeometryKind::Envelope ? model::GeometryKind::Polygon : geometry.kind();
    auto result = std::make_unique<model::Multipart>(kind, std::move(parts), geometry.dims);
    result->set_spatial_reference(geometry.spatial_reference());
    return result;
}

}  // namespace ops
