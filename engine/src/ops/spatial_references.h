// The spatial reference rule of operations on two geometries: a geometry without a spatial
// reference takes the other's; two different ones cannot be combined, since the engine never
// reprojects an operand silently.
#pragma once

#include <vector>

#include "model/geometry.h"

namespace ops {

// Whether the two can be combined: at most one has a spatial reference, or both the same one.
bool compatible_spatial_references(const model::Geometry& a, const model::Geometry& b);

// The spatial reference of the result: the one the two share (or the only one given); two
// different ones are an engine error.
model::SpatialReferencePtr common_spatial_reference(const model::Geometry& a, const model::Geometry& b);

// The one spatial reference of many geometries (none when none has one); an engine error when two
// differ.
model::SpatialReferencePtr common_spatial_reference(const std::vector<const model::Geometry*>& geometries);

}  // namespace ops
