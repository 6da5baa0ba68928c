// Topological cleaning. A polygon comes out valid: rings oriented as this engine's rings are
// (exteriors clockwise, holes counter-clockwise), self-intersections resolved (GEOS make-valid,
// structure method), repeated vertices and parts without area removed. A polygon valid but for the
// winding of its rings has those rings turned round, curves, z and m kept, and no repair. A polyline loses repeated
// vertices and zero-length parts (curves kept), a multipoint its duplicates; points and
// envelopes need nothing. Vertices without x or y go too.
#pragma once

#include "ops/planar.h"

namespace ops {

GeometryPtr simplify(const model::Geometry& g);

// True exactly when simplify would change nothing.
bool is_simple(const model::Geometry& g);

}  // namespace ops
