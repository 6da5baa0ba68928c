// Positions along a polyline, measured over its paths in order as one line.
#pragma once

#include "ops/planar.h"

namespace ops {

// The point `distance` along the line (clamped to its ends), z and m interpolated; an empty
// point for an empty line.
GeometryPtr point_along(const model::Geometry& line, double distance);

// The fraction (0 to 1) of the line's length at the location nearest `point`. NaN when the point
// lies farther than `tolerance` from the line; with a negative tolerance, NaN only when the
// nearest location is an end of the line that the point lies beyond. NaN for empty inputs and
// lines of no length.
double fraction_along(const model::Geometry& line, const model::Geometry& point, double tolerance);

}  // namespace ops
