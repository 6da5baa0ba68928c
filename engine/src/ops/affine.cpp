#include "ops/affine.h"

#include <algorithm>
#include <cmath>

#include "model/elliptic_arc.h"
#include "ops/vertices.h"

namespace ops {
namespace {

using model::Curve;
using model::EllipticArc;

model::XY apply(const Affine& t, double x, double y) { return {t.a * x + t.b * y + t.c, t.d * x + t.e * y + t.f}; }

// The image of an elliptic arc. With the arc's points c + M (cos s, sin s), M = R(rotation)
// diag(major, minor), the image is c' + L M (cos s, sin s); the closed-form singular value
// decomposition L M = R(theta) diag(p, q) R(phi) names the new ellipse directly. A negative q
// means the map mirrors the arc, which then runs the other way round.
Curve arc_image(const EllipticArc& arc, const Affine& t) {
    const double cr = std::cos(arc.rotation), sr = std::sin(arc.rotation);
    const double major = arc.semi_major, minor = arc.semi_major * arc.ratio;
    const double p = (t.a * cr + t.b * sr) * major, q = (-t.a * sr + t.b * cr) * minor;
    const double r = (t.d * cr + t.e * sr) * major, s = (-t.d * sr + t.e * cr) * minor;
    const double E = (p + s) / 2, F = (p - s) / 2, G = (r + q) / 2, H = (r - q) / 2;
    const double Q = std::hypot(E, H), R = std::hypot(F, G);
    const double sx = Q + R, sy = Q - R;
    if (!(sx > 0) || sy == 0) return model::Line{};  // collapsed onto a line
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

Curve curve_image(const Curve& curve, const Affine& t) {
    if (const auto* bezier = std::get_if<model::CubicBezier>(&curve)) {
        const model::XY c1 = apply(t, bezier->c1x, bezier->c1y), c2 = apply(t, bezier->c2x, bezier->c2y);
        return model::CubicBezier{c1.x, c1.y, c2.x, c2.y};
    }
    if (const auto* arc = std::get_if<EllipticArc>(&curve)) return arc_image(*arc, t);
    return curve;
}

// The same curve run from its end to its start.
Curve reversed(const Curve& curve) {
    if (const auto* b = std::get_if<model::CubicBezier>(&curve)) return model::CubicBezier{b->c2x, b->c2y, b->c1x, b->c1y};
    if (const auto* arc = std::get_if<EllipticArc>(&curve)) {
        EllipticArc back = *arc;
        back.start = arc->start + arc->central;
        back.central = -arc->central;
        return back;
    }
    return curve;
}

// A ring run the other way round from the same first vertex: vertex k becomes vertex n - k, and the
// segment from vertex i to i + 1 becomes segment n - 1 - i, its curve reversed.
void reverse_ring(model::Part& ring) {
    const uint64_t n = ring.points.size();
    if (n < 2) return;
    std::reverse(ring.points.begin() + 1, ring.points.end());
    for (auto& [index, curve] : ring.curves) {
        index = n - 1 - index;
        curve = reversed(curve);
    }
    std::sort(ring.curves.begin(), ring.curves.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
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
    model::Part out;
    out.ring = part.ring;
    out.dims = part.dims;
    const uint64_t segments = model::segment_count(part);
    for (uint64_t i = 0, next = 0; i < part.points.size(); ++i) {
        out.points.push_back(part.points[i]);
        for (; next < part.curves.size() && part.curves[next].first == i; ++next) {
            const Curve& curve = part.curves[next].second;
            if (!whole(curve) || i >= segments) {
                out.curves.emplace_back(out.points.size() - 1, curve);
                continue;
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
        }
    }
    part = std::move(out);
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
            for (auto& [index, curve] : part.curves) curve = curve_image(curve, map);
            // A curve collapsed onto a line is stored as the straight segment it became.
            std::erase_if(part.curves, [](const auto& entry) { return !model::is_curve(entry.second); });
            split_full_ellipses(part);
            if (mirrors && part.ring) reverse_ring(part);
        }
    return image;
}

}  // namespace ops
