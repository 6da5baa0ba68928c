// Planar measures in the units of the geometry's spatial reference. Area and length succeed on
// every geometry: an empty one, a point or a multipoint measures 0, and only polygons and
// envelopes have area; a polygon's length is its perimeter.
#pragma once

#include "model/geometry.h"

namespace ops {

double area(const model::Geometry& g);
double length(const model::Geometry& g);

// The least Euclidean distance between the two; NaN when either is empty.
double distance(const model::Geometry& a, const model::Geometry& b);

}  // namespace ops
