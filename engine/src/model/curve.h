// The shape of one segment between two vertices: straight, cubic Bezier or elliptic arc (circular
// arcs are elliptic arcs with ratio 1). The segment's ends are always the vertices themselves, so
// a shape never repeats them.
#pragma once

#include <cmath>
#include <variant>

#include "model/vertex.h"

namespace model {

struct Line {};

struct CubicBezier {
    double c1x, c1y, c2x, c2y;  // control points, two-dimensional
};

// Angles are radians. `start` is the eccentric (parametric) angle of the start point in the
// ellipse's own frame; `central` is the signed sweep of that angle, positive counter-clockwise,
// never wrapped, so the end is at start + central. A circle is kept with rotation 0, which makes
// its angles plain directions seen from the centre.
struct EllipticArc {
    double cx, cy;
    double rotation;    // of the major axis, from the x axis
    double semi_major;
    double ratio;       // minor / major, in (0, 1]
    double start;
    double central;

    bool circular() const { return ratio == 1.0; }
    bool minor() const { return std::abs(central) < M_PI; }
};

using Curve = std::variant<Line, CubicBezier, EllipticArc>;

inline bool is_curve(const Curve& c) { return !std::holds_alternative<Line>(c); }

// The same curve run from its end to its start.
inline Curve reversed(const Curve& curve) {
    if (const auto* b = std::get_if<CubicBezier>(&curve)) return CubicBezier{b->c2x, b->c2y, b->c1x, b->c1y};
    if (const auto* arc = std::get_if<EllipticArc>(&curve)) {
        EllipticArc back = *arc;
        back.start = arc->start + arc->central;
        back.central = -arc->central;
        return back;
    }
    return curve;
}

// A free-standing segment: what the segment constructors make and what a part hands out.
struct SegmentValue {
    Vertex start;
    Vertex end;
    Curve curve;
};

}  // namespace model
