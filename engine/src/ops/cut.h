// Cutting by a polyline and closing gaps between polygons.
#pragma once

#include <vector>

#include "ops/planar.h"

namespace ops {

// The pieces of `g` on the left of the cutter's direction (one geometry), then those on its
// right (one geometry), then every part the cutter does not divide, each as a geometry of its
// own; nothing when the cutter divides no part. Polylines and polygons (envelopes as polygons)
// can be cut; new vertices get z and m interpolated along the cut segment.
Geometries cut(const model::Geometry& g, const model::Geometry& cutter);

// The faces enclosed by the new polylines together with the existing polygons' boundaries,
// minus the existing polygons: one polygon per face.
Geometries auto_complete(const std::vector<const model::Geometry*>& existing,
                         const std::vector<const model::Geometry*>& lines);

}  // namespace ops
