// The vertex and segment views: a copy of one vertex (and, for curve segments, of its curve
// record) together with an optional link to the part it was read from and its index there. Reads
// use the copy alone; a write changes the copy and then writes the whole copy back at the fixed
// index, so a view never follows later insertions or removals.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>

#include "core/geometry/curvepart.h"
#include "core/geometry/shared.h"
#include "python/binding/binding.h"

namespace vornix::python {

using core::geometry::CurveData;
using core::geometry::Shared;
using core::geometry::VeltCoord;
using core::geometry::VeltCurvePart;
using core::geometry::VeltPart;

// The part a view came from and the vertex index there.
template <typename P>
using ParentLink = std::optional<std::pair<Shared<P>, uint64_t>>;

struct PySegment {
    VeltCoord coord;
    static binding::ClassSpec class_spec();
};

struct PyCoord : PySegment {
    ParentLink<VeltPart> parent;
    static binding::ClassSpec class_spec();
};

struct PyCurveSegment : PySegment {
    ParentLink<VeltCurvePart> parent;
    static binding::ClassSpec class_spec();
};

struct PyLinear : PyCurveSegment {
    static binding::ClassSpec class_spec();
};

struct PyCircularArc : PyCurveSegment {
    double interior_x, interior_y;
    static binding::ClassSpec class_spec();
};

struct PyEllipticArc : PyCurveSegment {
    double center_x, center_y, rotation, axis, ratio;
    bool minor, clockwise;
    static binding::ClassSpec class_spec();
};

struct PyBezierCurve : PyCurveSegment {
    double ctrl1_x, ctrl1_y, ctrl2_x, ctrl2_y;
    static binding::ClassSpec class_spec();
};

// A new Coord of the vertex, linked to a part or standing alone.
binding::PyResult<binding::Ref> make_coord(const VeltCoord& coord, ParentLink<VeltPart> parent);

// A new Linear, CircularArc, EllipticArc or BezierCurve, chosen by the curve record alone.
binding::PyResult<binding::Ref> from_coord_curve(const VeltCoord& coord, const CurveData& curve,
                                                 ParentLink<VeltCurvePart> parent);

}  // namespace vornix::python
