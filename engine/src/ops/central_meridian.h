// Folding geometries into the one turn of longitude centred on their reference's central
// meridian: [-180, 180) for a geographic reference, the matching x range for a Mercator
// projection (Web Mercator included). Parts that cross the edge of the range are split there.
#pragma once

#include <optional>

#include "model/geometry.h"
#include "ops/planar.h"

namespace ops {

// x from `west` (inclusive) to west + period (exclusive) spans one turn of longitude.
struct LongitudeRange {
    double west;
    double period;
};

// The range of a geographic or Mercator reference; none for any other.
std::optional<LongitudeRange> longitude_range(const model::SpatialReferenceData& sr);

// The geometry with every coordinate brought into the range: points moved by whole turns, paths
// and rings cut at the range's edges and the pieces moved (polygons' pieces united). A geometry
// already inside is copied, curves and all; an envelope across the edge becomes a polygon.
GeometryPtr folded(const model::Geometry& geometry, const LongitudeRange& range);

// Makes x run on along the line without jumps of a turn (where the coordinate system wrapped it),
// ready for folded().
void unroll(std::vector<model::Vertex>& line, const LongitudeRange& range);

// folded() in the range of the geometry's reference; a copy for other references; null for an
// empty geometry.
GeometryPtr normalized_central_meridian(const model::Geometry& geometry);

}  // namespace ops
