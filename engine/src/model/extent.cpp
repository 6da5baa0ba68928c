#include "model/extent.h"

#include <cmath>

#include "model/elliptic_arc.h"
#include "model/multipart.h"
#include "model/multipoint.h"
#include "model/point.h"

namespace model {
namespace {

void widen(Range& r, double v) {
    if (std::isnan(v)) return;
    r.min = std::isnan(r.min) ? v : std::min(r.min, v);
    r.max = std::isnan(r.max) ? v : std::max(r.max, v);
}

struct Box {
    Range x, y, z, m;

    void add_xy(double px, double py) {
        widen(x, px);
        widen(y, py);
    }
    void add(const Vertex& v) {
        add_xy(v.x, v.y);
        widen(z, v.z);
        widen(m, v.m);
    }
};

bool within_sweep(const EllipticArc& arc, double t) {
    constexpr double two_pi = 2.0 * M_PI;
    double d = std::fmod(arc.central >= 0 ? t - arc.start : arc.start - t, two_pi);
    if (d < 0) d += two_pi;
    return d <= std::abs(arc.central);
}

void add_arc(Box& box, const EllipticArc& arc) {
    const double a = arc.semi_major, b = arc.semi_major * arc.ratio;
    const double cos_r = std::cos(arc.rotation), sin_r = std::sin(arc.rotation);
    const double tx = std::atan2(-b * sin_r, a * cos_r), ty = std::atan2(b * cos_r, a * sin_r);
    for (double t : {tx, tx + M_PI, ty, ty + M_PI}) {
        if (!within_sweep(arc, t)) continue;
        const XY p = point_at(arc, t);
        box.add_xy(p.x, p.y);
    }
}

// Values of one coordinate of a cubic Bezier curve where its derivative vanishes inside (0, 1).
template <typename Add>
void bezier_turns(double p0, double p1, double p2, double p3, Add add) {
    const double a = -p0 + 3 * p1 - 3 * p2 + p3, b = 2 * (p0 - 2 * p1 + p2), c = p1 - p0;
    auto value = [&](double t) {
        const double s = 1 - t;
        return s * s * s * p0 + 3 * s * s * t * p1 + 3 * s * t * t * p2 + t * t * t * p3;
    };
    auto consider = [&](double t) {
        if (t > 0 && t < 1) add(value(t));
    };
    if (a == 0) {
        if (b != 0) consider(-c / b);
        return;
    }
    const double disc = b * b - 4 * a * c;
    if (disc < 0) return;
    consider((-b + std::sqrt(disc)) / (2 * a));
    consider((-b - std::sqrt(disc)) / (2 * a));
}

void add_bezier(Box& box, const Vertex& s, const CubicBezier& c, const Vertex& e) {
    bezier_turns(s.x, c.c1x, c.c2x, e.x, [&](double v) { widen(box.x, v); });
    bezier_turns(s.y, c.c1y, c.c2y, e.y, [&](double v) { widen(box.y, v); });
}

void add_part(Box& box, const Part& part) {
    for (const auto& v : part.points) box.add(v);
    for (const auto& entry : part.curves) {
        const SegmentValue s = segment_at(part, entry.first);
        if (const auto* arc = std::get_if<EllipticArc>(&s.curve)) add_arc(box, *arc);
        if (const auto* bezier = std::get_if<CubicBezier>(&s.curve)) add_bezier(box, s.start, *bezier, s.end);
    }
}

Box box_of(const Geometry& g) {
    Box box;
    switch (g.kind()) {
        case GeometryKind::Point:
            box.add(static_cast<const Point&>(g).vertex);
            break;
        case GeometryKind::Envelope: {
            const auto& e = static_cast<const Envelope&>(g);
            return Box{e.x, e.y, e.z, e.m};
        }
        case GeometryKind::Multipoint:
            for (const auto& v : static_cast<const Multipoint&>(g).points) box.add(v);
            break;
        case GeometryKind::Polyline:
        case GeometryKind::Polygon:
            for (const auto& p : static_cast<const Multipart&>(g).parts) add_part(box, p);
            break;
    }
    return box;
}

}  // namespace

std::unique_ptr<Envelope> extent_of(const Geometry& geometry) {
    Box box = box_of(geometry);
    if (std::isnan(box.x.min) || std::isnan(box.y.min)) box = Box{};
    if (!geometry.dims.has_z) box.z = Range{};
    if (!geometry.dims.has_m) box.m = Range{};
    auto result = std::make_unique<Envelope>(box.x, box.y, box.z, box.m, geometry.dims);
    result->set_spatial_reference(geometry.spatial_reference());
    return result;
}

}  // namespace model
