#include "model/elliptic_arc.h"

#include <cmath>

#include "model/engine_error.h"

namespace model {
namespace {

constexpr double kTwoPi = 2.0 * M_PI;

[[noreturn]] void refuse(const std::string& why) { throw model::EngineError(model::kGeometryError, why); }

void require_finite(std::initializer_list<XY> points) { require_finite_curve_points(points, "an arc"); }

// Sweep from angle a to angle b in the given direction, in (0, 2 pi] counter-clockwise and
// [-2 pi, 0) clockwise; equal angles give the full turn.
double sweep(double a, double b, bool counter_clockwise) {
    double s = std::fmod(b - a, kTwoPi);
    if (s <= 0.0) s += kTwoPi;
    return counter_clockwise ? s : s - kTwoPi;
}

// An arc whose centre or radius lies beyond the largest double (its points finite, but far apart
// near it) has no representation: refused, rather than kept with a NaN centre that would turn
// every later measure and the arc's own text into NaN.
void require_representable(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v)) refuse("The arc is too large: its centre or radius lies beyond the largest number.");
}

EllipticArc representable(EllipticArc arc) {
    require_representable({arc.cx, arc.cy, arc.semi_major, arc.start, arc.central});
    return arc;
}

EllipticArc circle(XY centre, double radius, double start, double central) {
    return representable(EllipticArc{centre.x, centre.y, 0.0, radius, 1.0, start, central});
}

// A power of two near the largest magnitude given: the arithmetic on coordinates divided by it
// neither overflows nor underflows, and the division and the multiplication back are exact, so
// ordinary arcs come out bit for bit as without it.
double power_of_two_scale(std::initializer_list<double> magnitudes) {
    double largest = 0.0;
    for (double m : magnitudes) largest = std::max(largest, std::abs(m));
    return largest > 0.0 && std::isfinite(largest) ? std::exp2(std::ilogb(largest)) : 1.0;
}

// The midpoint and half-difference of two coordinates, without the overflow of their sum.
double midpoint(double a, double b) { return a / 2.0 + b / 2.0; }
double half_difference(double a, double b) { return a / 2.0 - b / 2.0; }

}  // namespace

void require_finite_curve_points(std::initializer_list<XY> points, const char* curve) {
    for (XY p : points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            refuse(std::string("The points of ") + curve + " must have finite coordinates.");
}

EllipticArc circular_arc_with_center(XY start, XY end, XY centre, bool counter_clockwise) {
    require_finite({start, end, centre});
    const double radius = std::hypot(start.x - centre.x, start.y - centre.y);
    if (radius == 0.0) refuse("The start point of a circular arc must differ from its centre.");
    const double end_radius = std::hypot(end.x - centre.x, end.y - centre.y);
    if (std::abs(end_radius - radius) > 1e-6 * radius)
        refuse("The start and end points of a circular arc must lie at the same distance from its centre.");
    const double a = std::atan2(start.y - centre.y, start.x - centre.x);
    const double b = std::atan2(end.y - centre.y, end.x - centre.x);
    const bool full = start.x == end.x && start.y == end.y;
    const double central = full ? (counter_clockwise ? kTwoPi : -kTwoPi) : sweep(a, b, counter_clockwise);
    return circle(centre, radius, a, central);
}

EllipticArc circular_arc_through(XY start, XY end, XY interior) {
    require_finite({start, end, interior});
    if (start.x == end.x && start.y == end.y) {
        const XY centre{midpoint(start.x, interior.x), midpoint(start.y, interior.y)};
        const double radius = std::hypot(start.x - centre.x, start.y - centre.y);
        if (radius == 0.0) refuse("The interior point of a full circle must differ from its start point.");
        return circle(centre, radius, std::atan2(start.y - centre.y, start.x - centre.x), kTwoPi);
    }
    // Circumcentre, relative to the start point for accuracy, in units of `unit` so that the
    // squares below stay finite for points near the largest double.
    const double dx = end.x - start.x, dy = end.y - start.y, ex = interior.x - start.x, ey = interior.y - start.y;
    require_representable({dx, dy, ex, ey});
    const double unit = power_of_two_scale({dx, dy, ex, ey});
    const double bx = dx / unit, by = dy / unit, ix = ex / unit, iy = ey / unit;
    const double d = 2.0 * (bx * iy - by * ix);
    const double scale = (bx * bx + by * by) * (ix * ix + iy * iy);
    if (d == 0.0 || d * d < 1e-24 * scale)
        refuse("The three points of a circular arc must not lie on one line.");
    const double b2 = bx * bx + by * by, i2 = ix * ix + iy * iy;
    const XY centre{start.x + unit * ((iy * b2 - by * i2) / d), start.y + unit * ((bx * i2 - ix * b2) / d)};
    const double a_start = std::atan2(start.y - centre.y, start.x - centre.x);
    const double a_end = std::atan2(end.y - centre.y, end.x - centre.x);
    const double a_interior = std::atan2(interior.y - centre.y, interior.x - centre.x);
    const bool counter_clockwise = sweep(a_start, a_interior, true) < sweep(a_start, a_end, true);
    return circle(centre, std::hypot(start.x - centre.x, start.y - centre.y), a_start,
                  sweep(a_start, a_end, counter_clockwise));
}

EllipticArc elliptic_arc_between(XY start, XY end, bool minor, bool counter_clockwise, double rotation,
                                 double semi_major, double ratio) {
    require_finite({start, end});
    if (!std::isfinite(rotation) || !std::isfinite(semi_major) || !(semi_major > 0.0))
        refuse("The semi-major axis of an elliptic arc must be positive and its rotation finite.");
    if (!(ratio > 0.0 && ratio <= 1.0))
        refuse("The ratio of the minor to the major axis of an elliptic arc must lie in (0, 1].");
    if (start.x == end.x && start.y == end.y)
        refuse("The start and end points of an elliptic arc without a centre must differ.");
    // The centre parameterisation of an arc given by its end points (as for vector-graphics arcs):
    // work in the ellipse's frame, centred on the chord's midpoint, with lengths in units of
    // `unit` so that the fourth powers below stay finite.
    const double cos_r = std::cos(rotation), sin_r = std::sin(rotation);
    const double half_x = half_difference(start.x, end.x), half_y = half_difference(start.y, end.y);
    const double unit = power_of_two_scale({semi_major, half_x, half_y});
    const double hx = half_x / unit, hy = half_y / unit;
    const double x1 = cos_r * hx + sin_r * hy;
    const double y1 = -sin_r * hx + cos_r * hy;
    double rx = semi_major / unit, ry = rx * ratio;
    const double reach = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (reach > 1.0) {
        rx *= std::sqrt(reach);
        ry *= std::sqrt(reach);
    }
    const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double root = std::sqrt(std::max(0.0, num / den));
    // The large arc runs the other way round the centre from the small one.
    if (minor != counter_clockwise) root = -root;
    const double cx1 = root * rx * y1 / ry;
    const double cy1 = -root * ry * x1 / rx;
    const double cx = unit * (cos_r * cx1 - sin_r * cy1) + midpoint(start.x, end.x);
    const double cy = unit * (sin_r * cx1 + cos_r * cy1) + midpoint(start.y, end.y);
    const double t_start = std::atan2((y1 - cy1) / ry, (x1 - cx1) / rx);
    const double t_end = std::atan2((-y1 - cy1) / ry, (-x1 - cx1) / rx);
    double central = sweep(t_start, t_end, counter_clockwise);
    // Exactly half-way round, either sweep is the same length: `minor` cannot choose, the
    // direction does (sweep already did).
    if (ratio == 1.0) return circle({cx, cy}, unit * rx, t_start + rotation, central);
    return representable(EllipticArc{cx, cy, rotation, unit * rx, ratio, t_start, central});
}

XY point_at(const EllipticArc& arc, double t) {
    const double u = arc.semi_major * std::cos(t), v = arc.semi_major * arc.ratio * std::sin(t);
    const double cos_r = std::cos(arc.rotation), sin_r = std::sin(arc.rotation);
    return {arc.cx + cos_r * u - sin_r * v, arc.cy + sin_r * u + cos_r * v};
}

double reported_start_angle(const EllipticArc& arc) { return arc.rotation + arc.start; }
double reported_end_angle(const EllipticArc& arc) { return arc.rotation + arc.start + arc.central; }

}  // namespace model
