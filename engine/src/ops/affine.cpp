#include "ops/affine.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "model/elliptic_arc.h"
#include "ops/vertices.h"

namespace ops {
namespace {

using model::Curve;
using model::EllipticArc;

model::XY apply(const Affine& t, double x, double y) { return {t.a * x + t.b * y + t.c, t.d * x + t.e * y + t.f}; }

// An elliptic arc's points are c + M (cos s, sin s) for eccentric angles s, with M = R(rotation)
// diag(major, minor); under the map they are c' + L M (cos s, sin s). L M by rows.
struct ArcMatrix {
    double p, q, r, s;
};

ArcMatrix arc_matrix(const EllipticArc& arc, const Affine& t) {
    const double cr = std::cos(arc.rotation), sr = std::sin(arc.rotation);
    const double major = arc.semi_major, minor = arc.semi_major * arc.ratio;
    return {(t.a * cr + t.b * sr) * major, (-t.a * sr + t.b * cr) * minor, (t.d * cr + t.e * sr) * major,
            (-t.d * sr + t.e * cr) * minor};
}

// The image of an elliptic arc: the closed-form singular value decomposition L M = R(theta)
// diag(sx, sy) R(phi) names the new ellipse directly. A negative sy means the map mirrors the arc,
// which then runs the other way round; none where the image is squashed onto a line or a point.
// sy is the determinant det(L) major minor over sx: the difference of the singular values would
// round a thin image's minor axis to a few digits or none.
std::optional<EllipticArc> arc_image(const EllipticArc& arc, const Affine& t) {
    const ArcMatrix m = arc_matrix(arc, t);
    const double E = (m.p + m.s) / 2, F = (m.p - m.s) / 2, G = (m.r + m.q) / 2, H = (m.r - m.q) / 2;
    const double sx = std::hypot(E, H) + std::hypot(F, G);
    if (!(sx > 0)) return std::nullopt;
    const double sy = (t.a * t.e - t.b * t.d) * (arc.semi_major / sx) * (arc.semi_major * arc.ratio);
    // Thinner than the rounding of its own major axis, the image lies on its segment to the last
    // digit, and its ends could not name the ellipse again: it is flat.
    if (!(std::abs(sy) > std::numeric_limits<double>::epsilon() * sx)) return std::nullopt;
    const double a1 = std::atan2(G, F), a2 = std::atan2(H, E);
    const double theta = (a2 + a1) / 2, phi = (a2 - a1) / 2;
    const model::XY centre = apply(t, arc.cx, arc.cy);
    const bool mirrored = sy < 0;
    EllipticArc image{centre.x, centre.y, theta, sx, std::abs(sy) / sx,
                      mirrored ? -(arc.start + phi) : arc.start + phi, mirrored ? -arc.central : arc.central};
    // A circle stays a circle, kept as circles are (ratio 1, rotation 0, angles as directions).
    if (arc.circular() && std::abs(image.ratio - 1.0) < 1e-12) {
        image.ratio = 1.0;
        image.start += image.rotation;
        image.rotation = 0.0;
    }
    return image;
}

// An arc's image squashed onto a line runs to and fro along it: the eccentric angles strictly
// inside the arc, in the arc's order, at which it turns back. Along the line the image moves as
// rho cos(s - s0) (the larger row of L M, where rounding leaves the rows not quite parallel); a
// map onto a point has no line, and any angles serve it. Turns within 1e-9 of an end are that
// end: the image passes it by rho 5e-19 at most.
std::vector<double> turning_angles(const EllipticArc& arc, const Affine& t) {
    const ArcMatrix m = arc_matrix(arc, t);
    const bool first_row = std::hypot(m.p, m.q) >= std::hypot(m.r, m.s);
    const double s0 = first_row ? std::atan2(m.q, m.p) : std::atan2(m.s, m.r);
    constexpr double kAtEnd = 1e-9;
    const double low = std::min(arc.start, arc.start + arc.central) + kAtEnd;
    const double high = std::max(arc.start, arc.start + arc.central) - kAtEnd;
    std::vector<double> angles;
    for (double k = std::ceil((low - s0) / M_PI); s0 + k * M_PI < high; ++k)
        if (s0 + k * M_PI > low) angles.push_back(s0 + k * M_PI);
    if (arc.central < 0) std::reverse(angles.begin(), angles.end());
    return angles;
}

// A Bezier curve is mapped by its control points, flat or not.
model::CubicBezier bezier_image(const model::CubicBezier& bezier, const Affine& t) {
    const model::XY c1 = apply(t, bezier.c1x, bezier.c1y), c2 = apply(t, bezier.c2x, bezier.c2y);
    return model::CubicBezier{c1.x, c1.y, c2.x, c2.y};
}

// The part rebuilt curve by curve: `each(curve, i, out)` appends to `out`, which ends with vertex
// i, what the curve of segment i becomes (its curves and any vertices after vertex i). The part
// itself is replaced only at the end, so `each` may read it.
template <typename Each>
void rebuild_curves(model::Part& part, Each each) {
    model::Part out;
    out.ring = part.ring;
    out.dims = part.dims;
    for (uint64_t i = 0, next = 0; i < part.points.size(); ++i) {
        out.points.push_back(part.points[i]);
        for (; next < part.curves.size() && part.curves[next].first == i; ++next) each(part.curves[next].second, i, out);
    }
    part = std::move(out);
}

// The part's curves mapped (its vertices are already). An arc squashed flat becomes the straight
// run through the points where its image turns back, each with z and m taken along the arc, so
// that the run covers all the image does: a full circle squashed to a segment reaches both its
// ends. A ring left straight with fewer than three vertices is closed by its first vertex once
// more, as collapsed rings are kept elsewhere: every reader holds a ring of three.
void map_curves(model::Part& part, const Affine& t) {
    if (part.curves.empty()) return;
    const uint64_t segments = model::segment_count(part);
    rebuild_curves(part, [&](const Curve& curve, uint64_t i, model::Part& out) {
        if (const auto* bezier = std::get_if<model::CubicBezier>(&curve)) {
            out.curves.emplace_back(out.points.size() - 1, bezier_image(*bezier, t));
            return;
        }
        const auto* arc = std::get_if<EllipticArc>(&curve);
        if (arc == nullptr) return;
        if (auto image = arc_image(*arc, t)) {
            out.curves.emplace_back(out.points.size() - 1, *image);
            return;
        }
        if (i >= segments) return;
        const model::SegmentValue s = model::segment_at(part, i);
        for (double angle : turning_angles(*arc, t)) {
            const double f = (angle - arc->start) / arc->central;
            const model::XY at = model::point_at(*arc, angle);
            const model::XY p = apply(t, at.x, at.y);
            out.points.push_back({p.x, p.y, s.start.z + (s.end.z - s.start.z) * f, s.start.m + (s.end.m - s.start.m) * f});
        }
    });
    if (part.ring && part.curves.empty() && !part.points.empty() && part.points.size() < 3)
        part.points.push_back(part.points.front());
}

void sort(model::Range& r) {
    if (r.min > r.max) std::swap(r.min, r.max);
}

std::unique_ptr<model::Geometry> envelope_image(const model::Envelope& e, const Affine& t) {
    if (!t.axis_parallel()) return transformed(*envelope_polygon(e), t);
    auto image = std::make_unique<model::Envelope>(e);
    image->x = {t.a * e.x.min + t.c, t.a * e.x.max + t.c};
    image->y = {t.e * e.y.min + t.f, t.e * e.y.max + t.f};
    sort(image->x);
    sort(image->y);
    return image;
}

// A full turn of an ellipse that is not a circle cannot be told by its ends, which are equal, and
// curves cross the C interface by their ends: such an arc is stored as its two halves, with a new
// vertex half-way round (z and m half-way between the segment's ends). Vertices keep their order.
void split_full_ellipses(model::Part& part) {
    const auto whole = [](const Curve& c) {
        const auto* arc = std::get_if<EllipticArc>(&c);
        return arc != nullptr && !arc->circular() && std::abs(arc->central) >= 2 * M_PI;
    };
    if (std::none_of(part.curves.begin(), part.curves.end(), [&](const auto& e) { return whole(e.second); })) return;
    const uint64_t segments = model::segment_count(part);
    rebuild_curves(part, [&](const Curve& curve, uint64_t i, model::Part& out) {
        if (!whole(curve) || i >= segments) {
            out.curves.emplace_back(out.points.size() - 1, curve);
            return;
        }
        const model::SegmentValue s = model::segment_at(part, i);
        EllipticArc first = std::get<EllipticArc>(curve);
        first.central /= 2;
        EllipticArc second = first;
        second.start += first.central;
        const model::XY mid = model::point_at(first, second.start);
        out.curves.emplace_back(out.points.size() - 1, first);
        out.points.push_back({mid.x, mid.y, (s.start.z + s.end.z) / 2, (s.start.m + s.end.m) / 2});
        out.curves.emplace_back(out.points.size() - 1, second);
    });
}

}  // namespace

Affine Affine::rotation(double degrees, double ox, double oy) {
    double turn = std::fmod(degrees, 360.0);
    if (turn < 0) turn += 360.0;
    // Quarter turns exactly, so that rotating by 90 degrees moves no vertex off the grid.
    double c, s;
    if (turn == 0) c = 1, s = 0;
    else if (turn == 90) c = 0, s = 1;
    else if (turn == 180) c = -1, s = 0;
    else if (turn == 270) c = 0, s = -1;
    else c = std::cos(turn * M_PI / 180.0), s = std::sin(turn * M_PI / 180.0);
    return {c, -s, ox - c * ox + s * oy, s, c, oy - s * ox - c * oy};
}

std::unique_ptr<model::Geometry> transformed(const model::Geometry& geometry, const Affine& map) {
    if (geometry.kind() == model::GeometryKind::Envelope)
        return envelope_image(static_cast<const model::Envelope&>(geometry), map);
    auto image = geometry.clone();
    for_each_vertex(*image, [&](model::Vertex& v) {
        const model::XY p = apply(map, v.x, v.y);
        v.x = p.x;
        v.y = p.y;
    });
    // A mirroring map turns every ring's winding; rings are run back so that the image is written
    // as results are, exteriors clockwise.
    const bool mirrors = map.a * map.e - map.b * map.d < 0;
    if (auto* multipart = dynamic_cast<model::Multipart*>(image.get()))
        for (auto& part : multipart->parts) {
            map_curves(part, map);
            split_full_ellipses(part);
            if (mirrors && part.ring) model::reverse_ring(part);
        }
    return image;
}

}  // namespace ops
