// Length and area of parts with their curves measured exactly where that is known in closed
// form: elliptic (and circular) arcs on their ellipse; Bezier curves by their chords
// (ops/curve_densify.h). A part with a vertex lacking x or y is measured by its chords alone.
#pragma once

#include <span>
#include <vector>

#include "model/part.h"

namespace ops {

// The length of a path, or the perimeter of a ring.
double part_length(const model::Part& part);

// The area the straight ring through `vertices` encloses (given open or closed), positive when it
// runs clockwise (GEOS's form); 0 for fewer than three vertices.
double shoelace(std::span<const model::Vertex> vertices);

// The area a ring encloses, positive when it runs clockwise: the shoelace sum of its vertices
// (as GEOS takes it) plus the segments between each arc and its chord.
double ring_area(const model::Part& part);

}  // namespace ops
