// Douglas-Peucker generalization that keeps exactly the vertices GEOS 3.11's simplifier keeps, for
// every tolerance, and handles lines, rings, polygons and collections as its transformer does. GEOS
// recurses once for every section it keeps, so a zig-zag of some ten thousand vertices overflows a
// thread's stack; here the sections wait on a list, and the farthest vertex of each is found
// without measuring every vertex of it (ops/farthest_vertex.h).
#pragma once

#include <vector>

#include "model/vertex.h"
#include "ops/geos_context.h"

namespace ops {

// The vertices Douglas-Peucker keeps within `tolerance`, in order: both ends, and the first
// farthest vertex of every section farther than the tolerance from its chord.
std::vector<model::Vertex> douglas_peucker(const std::vector<model::Vertex>& line, double tolerance);

// GEOSSimplify_r without its recursion: lines and free rings generalized (a ring left with fewer
// than four vertices becomes a line), polygon rings that collapse dropped (a polygon losing its
// exterior goes), and a polygonal result that is not valid repaired with a zero buffer.
GeosPtr douglas_peucker(const GEOSGeometry* g, double tolerance);

}  // namespace ops
