#include "ops/curve_points.h"

#include <algorithm>
#include <cmath>

#include "model/elliptic_arc.h"

namespace ops {
namespace {

constexpr uint64_t kMaxPointsPerCurve = 100000;

model::Vertex between(const model::Vertex& a, const model::Vertex& b, double t, model::XY at) {
    return {at.x, at.y, a.z + (b.z - a.z) * t, a.m + (b.m - a.m) * t};
}

// Pieces of an elliptic arc: each piece's sagitta on the circle of the major axis stays within
// the tolerance, which holds the ellipse within it too.
uint64_t arc_pieces(const model::EllipticArc& arc) {
    const double step = 2.0 * std::acos(1.0 - kCurveTolerance);
    return static_cast<uint64_t>(std::ceil(std::abs(arc.central) / step));
}

// Pieces of a cubic Bezier curve: the chord of a piece of parameter length 1/n departs from the
// curve by at most 3/4 of the largest second difference of the control points over n squared.
uint64_t bezier_pieces(const model::Vertex& s, const model::CubicBezier& b, const model::Vertex& e) {
    const double d1 = std::hypot(s.x - 2 * b.c1x + b.c2x, s.y - 2 * b.c1y + b.c2y);
    const double d2 = std::hypot(b.c1x - 2 * b.c2x + e.x, b.c1y - 2 * b.c2y + e.y);
    const double size = std::hypot(b.c1x - s.x, b.c1y - s.y) + std::hypot(b.c2x - b.c1x, b.c2y - b.c1y) +
                        std::hypot(e.x - b.c2x, e.y - b.c2y);
    if (!(size > 0)) return 1;
    return static_cast<uint64_t>(std::ceil(std::sqrt(0.75 * std::max(d1, d2) / (kCurveTolerance * size))));
}

model::XY bezier_at(const model::Vertex& s, const model::CubicBezier& b, const model::Vertex& e, double t) {
    const double u = 1 - t;
    const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
    return {w0 * s.x + w1 * b.c1x + w2 * b.c2x + w3 * e.x, w0 * s.y + w1 * b.c1y + w2 * b.c2y + w3 * e.y};
}

}  // namespace

void append_curve_points(const model::SegmentValue& segment, std::vector<model::Vertex>& out) {
    const auto& [s, e, curve] = segment;
    if (const auto* arc = std::get_if<model::EllipticArc>(&curve)) {
        const uint64_t n = std::clamp<uint64_t>(arc_pieces(*arc), 1, kMaxPointsPerCurve);
        for (uint64_t i = 1; i < n; ++i) {
            const double t = static_cast<double>(i) / static_cast<double>(n);
            out.push_back(between(s, e, t, model::point_at(*arc, arc->start + arc->central * t)));
        }
    } else if (const auto* bezier = std::get_if<model::CubicBezier>(&curve)) {
        const uint64_t n = std::clamp<uint64_t>(bezier_pieces(s, *bezier, e), 1, kMaxPointsPerCurve);
        for (uint64_t i = 1; i < n; ++i) {
            const double t = static_cast<double>(i) / static_cast<double>(n);
            out.push_back(between(s, e, t, bezier_at(s, *bezier, e, t)));
        }
    }
}

model::Part straightened(const model::Part& part, const std::function<bool(uint64_t)>& keep) {
    if (!model::has_curves(part)) return part;
    model::Part result;
    result.ring = part.ring;
    result.dims = part.dims;
    const uint64_t segments = model::segment_count(part);
    if (!part.points.empty()) result.points.push_back(part.points.front());
    for (uint64_t i = 0; i < segments; ++i) {
        const model::SegmentValue segment = model::segment_at(part, i);
        if (model::is_curve(segment.curve) && keep && keep(i)) {
            result.curves.emplace_back(result.points.size() - 1, segment.curve);
        } else {
            append_curve_points(segment, result.points);
        }
        // The closing segment of a ring ends at the first vertex, which is not stored twice.
        if (!(part.ring && i + 1 == segments)) result.points.push_back(segment.end);
    }
    return result;
}

}  // namespace ops
