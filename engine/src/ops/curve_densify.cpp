#include "ops/curve_densify.h"

#include <algorithm>
#include <cmath>

#include "model/elliptic_arc.h"

namespace ops {
namespace {

using model::Vertex;

// Hard cap of chords per curve: keeps a degenerate or huge curve from exhausting memory.
constexpr int kMaxChords = 100000;

bool located(const Vertex& v) { return !std::isnan(v.x) && !std::isnan(v.y); }

double lerp(double a, double b, double f) { return a + (b - a) * f; }

Vertex between(const Vertex& s, const Vertex& e, double x, double y, double f) {
    return Vertex{x, y, lerp(s.z, e.z, f), lerp(s.m, e.m, f)};
}

int chord_count(double wanted) {
    if (!(wanted >= 1.0)) return 1;  // also NaN
    return static_cast<int>(std::min<double>(std::ceil(wanted), kMaxChords));
}

void append_arc(const model::EllipticArc& arc, const Vertex& s, const Vertex& e, std::vector<Vertex>& out) {
    // A chord spanning angle a of a circle lies at most r (1 - cos(a / 2)) from it.
    static const double max_step = 2.0 * std::acos(1.0 - kArcTolerance);
    const int n = chord_count(std::abs(arc.central) / max_step);
    for (int i = 1; i < n; ++i) {
        const double f = static_cast<double>(i) / n;
        const model::XY p = model::point_at(arc, arc.start + arc.central * f);
        out.push_back(between(s, e, p.x, p.y, f));
    }
    out.push_back(e);
}

void append_bezier(const model::CubicBezier& c, const Vertex& s, const Vertex& e, std::vector<Vertex>& out) {
    // Uniform steps of 1/n keep the chords within |B''|max / (8 n^2) of the curve, and |B''| is at
    // most 6 times the larger second difference of the control points.
    const double ddx1 = s.x - 2 * c.c1x + c.c2x, ddy1 = s.y - 2 * c.c1y + c.c2y;
    const double ddx2 = c.c1x - 2 * c.c2x + e.x, ddy2 = c.c1y - 2 * c.c2y + e.y;
    const double dd = std::max(std::hypot(ddx1, ddy1), std::hypot(ddx2, ddy2));
    const double size = std::hypot(c.c1x - s.x, c.c1y - s.y) + std::hypot(c.c2x - c.c1x, c.c2y - c.c1y) +
                        std::hypot(e.x - c.c2x, e.y - c.c2y);
    const double tolerance = kArcTolerance * size;
    const int n = tolerance > 0 ? chord_count(std::sqrt(6.0 * dd / (8.0 * tolerance))) : 1;
    for (int i = 1; i < n; ++i) {
        const double t = static_cast<double>(i) / n, u = 1 - t;
        const double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
        out.push_back(between(s, e, b0 * s.x + b1 * c.c1x + b2 * c.c2x + b3 * e.x,
                              b0 * s.y + b1 * c.c1y + b2 * c.c2y + b3 * e.y, t));
    }
    out.push_back(e);
}

}  // namespace

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

}  // namespace ops
