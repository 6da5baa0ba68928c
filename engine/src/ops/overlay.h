// Overlays of two geometries and their relatives. Result kinds: an intersection has the lower
// dimension of its inputs (a point when either lower input is a point), an empty geometry of
// that kind when nothing meets; a difference has the kind of its first input (a polygon for an
// envelope); union and symmetric difference need inputs of one dimension (a multipoint for
// points) and refuse mixed ones. Envelopes act as polygons.
#pragma once

#include <vector>

#include "model/envelope.h"
#include "ops/planar.h"

namespace ops {

enum class Overlay { Intersection, Union, Difference, SymmetricDifference };

GeometryPtr overlay(Overlay op, const model::Geometry& a, const model::Geometry& b);

// The intersection split by dimension: a multipoint of the points, a polyline of the lines, a
// polygon of the areas, in that order, each only when not empty.
Geometries intersections(const model::Geometry& a, const model::Geometry& b);

// The part of `g` inside the envelope, of g's kind (an envelope clips to an envelope); the whole
// geometry, curves kept, when all of it lies inside. New vertices on the envelope's sides get z
// and m interpolated along the cut segment.
GeometryPtr clip(const model::Geometry& g, const model::Envelope& e);

// The union of all; an engine error for no geometries or for mixed dimensions.
GeometryPtr union_all(const std::vector<const model::Geometry*>& geometries);

}  // namespace ops
