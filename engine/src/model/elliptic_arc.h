// Construction and evaluation of elliptic arcs. Each constructor throws model::EngineError for an
// arc that cannot be built from its inputs.
#pragma once

#include <initializer_list>

#include "model/curve.h"

namespace model {

struct XY {
    double x, y;
};

// Refuses a curve with a non-finite end or control point: its shape, length and extent would be
// NaN, and a NaN vertex could not be chained to the next segment. `curve` names it in the text
// ("an arc", "a cubic Bezier curve").
void require_finite_curve_points(std::initializer_list<XY> points, const char* curve);

// A circular arc about `centre` from `start` to `end` in the given direction. Equal start and end
// give the full circle. The flag of the minor arc is implied by the direction and not consulted.
// The end must lie at the start's distance from the centre, within a relative 1e-6 so that rounded
// input is taken; the radius is the start's distance.
EllipticArc circular_arc_with_center(XY start, XY end, XY centre, bool counter_clockwise);

// The circular arc from `start` through `interior` to `end`; equal start and end give the full
// circle whose diameter ends at `interior`, run counter-clockwise.
EllipticArc circular_arc_through(XY start, XY end, XY interior);

// The elliptic arc between two points on an ellipse of the given shape, chosen by the two flags.
// An ellipse too small to reach both points is scaled up until it does (its axes keep their
// ratio), so the arc always ends exactly where asked.
EllipticArc elliptic_arc_between(XY start, XY end, bool minor, bool counter_clockwise, double rotation,
                                 double semi_major, double ratio);

// The point of the arc's ellipse at eccentric angle `t` (ellipse frame).
XY point_at(const EllipticArc& arc, double t);

// Start, end and central angle as reported to callers: rotation + eccentric angle, so for a
// circle the direction of the point seen from the centre, and end = start + central.
double reported_start_angle(const EllipticArc& arc);
double reported_end_angle(const EllipticArc& arc);

}  // namespace model
