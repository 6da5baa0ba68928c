#include "ops/curve_densify.h"

#include <algorithm>
#include <cmath>

#include "model/elliptic_arc.h"

namespace ops {
namespace {

using model::Vertex;

// Hard cap of chords per curve: keeps a degenerate or huge curve from exhausting memory.
constexpr int kMaxChords = 100000;

using model::located;

double lerp(double a, double b, double f) { return a + (b - a) * f; }

Vertex between(const Vertex& s, const Vertex& e, double x, double y, double f) {
    return Vertex{x, y, lerp(s.z, e.z, f), lerp(s.m, e.m, f)};
}

int chord_count(double wanted) {
    if (!(wanted >= 1.0)) return 1;  // also NaN
    return static_cast<int>(std::min<double>(std::ceil(wanted), kMaxChords));
}

int arc_chord_count(const model::EllipticArc& arc) {
    // A chord spanning angle a of a circle lies at most r (1 - cos(a / 2)) from it.
    static const double max_step = 2.0 * std::acos(1.0 - kArcTolerance);
    return chord_count(std::abs(arc.central) / max_step);
}

void append_arc(const model::EllipticArc& arc, const Vertex& s, const Vertex& e, std::vector<Vertex>& out) {
    const int n = arc_chord_count(arc);
    for (int i = 1; i < n; ++i) {
        const double f = static_cast<double>(i) / n;
        const model::XY p = model::point_at(arc, arc.start + arc.central * f);
        out.push_back(between(s, e, p.x, p.y, f));
    }
    out.push_back(e);
}

// How many uniform steps keep a Bezier curve's chords within tolerance. Steps of 1/n stay within
// |B''|max / (8 n^2) of the curve, and |B''| is at most 6 times the larger second difference of the
// control points. The count depends only on the control polygon's shape, not its size, so the
// points are scaled to their largest magnitude first: near 1e308 a difference would overflow and
// turn the count into the cap. The shape bounds the count itself (the second difference is never
// longer than the control polygon), at about 28 chords.
int bezier_chord_count(const model::CubicBezier& c, const Vertex& s, const Vertex& e) {
    const double k = std::max({std::abs(s.x), std::abs(s.y), std::abs(c.c1x), std::abs(c.c1y), std::abs(c.c2x),
                               std::abs(c.c2y), std::abs(e.x), std::abs(e.y)});
    if (!(k > 0.0) || !std::isfinite(k)) return 1;
    const double x0 = s.x / k, y0 = s.y / k, x1 = c.c1x / k, y1 = c.c1y / k;
    const double x2 = c.c2x / k, y2 = c.c2y / k, x3 = e.x / k, y3 = e.y / k;
    const double dd = std::max(std::hypot(x0 - 2 * x1 + x2, y0 - 2 * y1 + y2), std::hypot(x1 - 2 * x2 + x3, y1 - 2 * y2 + y3));
    const double size = std::hypot(x1 - x0, y1 - y0) + std::hypot(x2 - x1, y2 - y1) + std::hypot(x3 - x2, y3 - y2);
    if (!(size > 0.0)) return 1;
    return chord_count(std::sqrt(6.0 * (dd / size) / (8.0 * kArcTolerance)));
}

void append_bezier(const model::CubicBezier& c, const Vertex& s, const Vertex& e, std::vector<Vertex>& out) {
    const int n = bezier_chord_count(c, s, e);
    for (int i = 1; i < n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1 - t;
        const double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
        out.push_back(between(s, e, b0 * s.x + b1 * c.c1x + b2 * c.c2x + b3 * e.x,
                              b0 * s.y + b1 * c.c1y + b2 * c.c2y + b3 * e.y, t));
    }
    out.push_back(e);
}

}  // namespace

double added_chord_vertices(const model::Part& part) {
    double added = 0;
    for (const auto& [index, curve] : part.curves) {
        if (index >= model::segment_count(part)) continue;
        const model::SegmentValue s = model::segment_at(part, index);
        if (const auto* arc = std::get_if<model::EllipticArc>(&curve)) added += arc_chord_count(*arc) - 1;
        else if (const auto* bezier = std::get_if<model::CubicBezier>(&curve))
            added += bezier_chord_count(*bezier, s.start, s.end) - 1;
    }
    return added;
}

void append_chords(const model::SegmentValue& segment, std::vector<Vertex>& out) {
    if (const auto* arc = std::get_if<model::EllipticArc>(&segment.curve))
        return append_arc(*arc, segment.start, segment.end, out);
    if (const auto* bezier = std::get_if<model::CubicBezier>(&segment.curve))
        return append_bezier(*bezier, segment.start, segment.end, out);
    out.push_back(segment.end);
}

std::vector<Vertex> straight_vertices(const model::Part& part) {
    std::vector<Vertex> out;
    if (!model::has_curves(part)) {
        out.reserve(part.points.size());
        std::copy_if(part.points.begin(), part.points.end(), std::back_inserter(out), located);
        return out;
    }
    if (part.points.empty()) return out;
    out.push_back(part.points.front());
    const uint64_t n = model::segment_count(part);
    for (uint64_t i = 0; i < n; ++i) {
        const model::SegmentValue s = model::segment_at(part, i);
        if (located(s.start) && located(s.end)) append_chords(s, out);
        else out.push_back(s.end);
    }
    if (part.ring && out.size() > 1) out.pop_back();  // the closing segment ended on the first vertex
    std::erase_if(out, [](const Vertex& v) { return !located(v); });
    return out;
}

const std::vector<Vertex>& straight_vertices(const model::Part& part, std::vector<Vertex>& scratch) {
    if (!model::has_curves(part) && std::all_of(part.points.begin(), part.points.end(), located)) return part.points;
    scratch = straight_vertices(part);
    return scratch;
}

}  // namespace ops
