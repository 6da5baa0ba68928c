// The geodetic buffer: the set of points within a distance of the geometry on its ellipsoid, the
// geometry's segments running along the given curve type. The pieces (geodesic circles about the
// vertices, bands along the segments, a polygon's own area) are built with exact points on the
// ellipsoid, united by GEOS in an azimuthal equidistant plane centred on the geometry (continuous
// across the antimeridian and over the poles), and brought back; a geographic or Mercator result
// is then folded into one turn of longitude, split at the antimeridian, and a ring round a pole
// is closed along it.
#pragma once

#include <vector>

#include "ops/geodesy.h"
#include "ops/planar.h"

namespace ops {

// The deviation used when none is given (0): 1/1000 of the distance, at most 1 km; 1 m for a
// distance of 0 (a polygon's own outline along its curve type).
double default_max_deviation(double distance);

// `distance` and `max_deviation` in metres. A negative distance shrinks a polygon; points and
// lines give the empty polygon for a distance of 0 or less.
GeometryPtr geodetic_buffer(const model::Geometry& geometry, CurveType type, double distance, double max_deviation);

// One buffer per geometry (distances: extras ignored, the last repeats for the rest), or their
// union as the one result.
Geometries geodetic_buffers(const std::vector<const model::Geometry*>& geometries, const std::vector<double>& distances,
                            CurveType type, double max_deviation, bool unite);

}  // namespace ops
