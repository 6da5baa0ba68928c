#include "ops/geodetic_measures.h"

#include <GeographicLib/PolygonArea.hpp>

#include <algorithm>
#include <cmath>

#include "model/engine_error.h"
#include "model/multipart.h"
#include "ops/to_geos.h"
#include "ops/unrolling.h"
#include "ops/vertex_budget.h"

namespace ops {
namespace {


// Twice the signed area of the ring in its plane (counter-clockwise positive).
double planar_twice_area(const std::vector<model::Vertex>& points) {
    double sum = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        const model::Vertex& a = points[i];
        const model::Vertex& b = points[(i + 1) % points.size()];
        sum += (a.x - points[0].x) * (b.y - points[0].y) - (b.x - points[0].x) * (a.y - points[0].y);
    }
    return sum;
}

// Which side of the ring its region lies on, as the ring runs: 1 left, -1 right, 0 undecided. The
// region is the one the ring holds in the plane of its own coordinates (projections keep the
// sense of turning), each edge read as it runs on the ellipsoid. In a reference with a turn of
// longitude (geographic or Mercator), an edge other than a ShapePreserving one changes longitude
// the shorter way round, so that a ring across the antimeridian holds the small region there;
// along a pole (geographic), where longitude is no place, it runs as written. A ring that goes
// round a pole that way does not close in the plane: it is read as written, where it closes along
// the pole or the antimeridian. A ring holding no area in its plane (a parallel written as one
// line round a pole) is undecided.
int region_side(const GeodeticFrame& frame, CurveType type, const std::vector<model::Vertex>& own) {
    std::vector<model::Vertex> run = own;
    if (frame.turn && type != CurveType::ShapePreserving) {
        const double period = *frame.turn;
        const bool geographic = !frame.to_geographic;
        Unrolling unrolling(period, own[0].x);
        for (size_t i = 1; i <= run.size(); ++i) {
            const model::Vertex& a = own[i - 1];
            const model::Vertex& b = own[i % own.size()];
            const bool along_pole = geographic && std::abs(a.y) == 90 && b.y == a.y;
            const double x = along_pole ? unrolling.next(b.x, b.x - a.x) : unrolling.next(b.x);
            if (i < run.size()) run[i].x = x;
            else if (std::abs(x - run[0].x) >= period / 2) run = own;  // round a pole
        }
    }
    const double twice_area = planar_twice_area(run);
    return twice_area > 0 ? 1 : twice_area < 0 ? -1 : 0;
}

// The area of the region a ring holds (region_side), in [0, A) for an ellipsoid of area A, its
// edges run through `points` (longitude and latitude). GeographicLib gives either side directly:
// the left one counting counter-clockwise positive, the right one counting clockwise positive.
// Taking the right side as A less the left would keep only the digits of A (1/16 m² on the
// earth), none of a small region's own. An undecided ring takes the smaller region.
template <typename Area>
double enclosed_area(Area area, int side, const std::vector<LonLat>& points) {
    for (const auto& p : points) area.AddPoint(p.lat, p.lon);
    double perimeter = 0, value = 0;
    area.Compute(side < 0, side == 0, perimeter, value);
    return std::abs(value);
}

}  // namespace

double geodetic_area(const model::Geometry& geometry, CurveType type) {
    if (geometry.kind() != model::GeometryKind::Polygon && geometry.kind() != model::GeometryKind::Envelope) return 0.0;
    const auto frame = frame_of(geometry);
    // Exteriors add and holes take away, their roles read from nesting as every operation does.
    const std::vector<bool> exterior = geometry.kind() == model::GeometryKind::Polygon
                                           ? exterior_parts(static_cast<const model::Multipart&>(geometry))
                                           : std::vector<bool>{true};
    double total = 0;
    size_t index = 0;
    for_each_straight_part(geometry, [&](const model::Part& ring) {
        const bool adds = exterior[index++];
        if (ring.points.size() < 3) return;
        const auto points = geographic(*frame, ring.points);
        const int side = region_side(*frame, type, ring.points);
        double a = 0;
        if (type == CurveType::Geodesic) {
            a = enclosed_area(GeographicLib::PolygonArea(frame->geodesic), side, points);
        } else if (type == CurveType::Loxodrome) {
            a = enclosed_area(GeographicLib::PolygonAreaRhumb(frame->rhumb), side, points);
        } else {
            std::vector<LonLat> fine;
            for (size_t i = 0; i < points.size(); ++i) {
                const size_t j = (i + 1) % points.size();
                auto piece = GeodeticSegment(*frame, type, ring.points[i], ring.points[j], points[i], points[j]).fine_points();
                fine.insert(fine.end(), piece.begin(), piece.end() - 1);
            }
            a = enclosed_area(GeographicLib::PolygonArea(frame->geodesic), side, fine);
        }
        total += adds ? a : -a;
    });
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
