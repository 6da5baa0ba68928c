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
// already inside is copied, curves and all; an envelope across the edge becomes a polygon. Paths
// and rings spanning too many turns (see normalized_central_meridian) are an engine error.
GeometryPtr folded(const model::Geometry& geometry, const LongitudeRange& range);

// Makes x run on along the line without jumps of a turn (where the coordinate system wrapped it),
// ready for folded().
void unroll(std::vector<model::Vertex>& line, const LongitudeRange& range);

// folded() in the range of the geometry's reference; null for an empty geometry. Never an error:
// a copy where the geometry cannot be folded (other references, a projection PROJ cannot run,
// infinite coordinates, paths and rings spanning so many turns that folding them would take
// turns times vertices past 3e5 for paths, 3e4 for rings: seconds of work).
GeometryPtr normalized_central_meridian(const model::Geometry& geometry);

}  // namespace ops
