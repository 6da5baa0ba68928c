// The relation tests of two geometries (the dimensionally extended nine-intersection model, as
// GEOS computes it). Two different non-null spatial references are an engine error, except for
// equality, which they simply fail.
#pragma once

#include "model/geometry.h"

namespace ops {

enum class Relation { Contains, Crosses, Disjoint, Equals, Intersects, Overlaps, Touches, Within };

bool relation(Relation r, const model::Geometry& a, const model::Geometry& b);

// Whether the pair's intersection matrix matches `pattern`: nine characters of T F * 0 1 2; any
// other pattern is an engine error.
bool relate(const model::Geometry& a, const model::Geometry& b, const char* pattern);

}  // namespace ops
