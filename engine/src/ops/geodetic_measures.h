// Geodetic area, length and densification of whole geometries, along one curve type. Curves of
// the geometry are first followed by points (in its own coordinates), then measured as straight.
#pragma once

#include <memory>

#include "model/geometry.h"
#include "ops/geodesy.h"

namespace ops {

// Square metres: the exteriors' regions less their holes', roles read by the ring rule on the rings
// as their edges run (ops/geodetic_plane.h). The region of a ring is the side it draws, in [0, A)
// for an ellipsoid of area A, so a region larger than half the ellipsoid keeps its size; the plane
// of its own coordinates proposes the side, and its equal-area share decides where it is clear.
// Only polygons and envelopes have an area.
double geodetic_area(const model::Geometry& geometry, CurveType type);

// Metres: the length of a polyline's paths, the perimeter of a polygon's or envelope's rings.
double geodetic_length(const model::Geometry& geometry, CurveType type);

// Vertices added along every segment so that no piece is longer than `max_length` metres; the
// original vertices stay as they are, and z and m run linearly along each segment. An envelope
// becomes a polygon; points and multipoints are copied.
std::unique_ptr<model::Geometry> geodetic_densify(const model::Geometry& geometry, CurveType type, double max_length);

}  // namespace ops
