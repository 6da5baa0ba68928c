// Length and area of parts with their curves measured exactly where that is known in closed
// form: elliptic (and circular) arcs on their ellipse; Bezier curves by their chords
// (ops/curve_densify.h). A part with a vertex lacking x or y is measured by its chords alone.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "model/part.h"

namespace ops {

// The length of a path, or the perimeter of a ring.
double part_length(const model::Part& part);

// The area the straight ring through `vertices` encloses (given open or closed), positive when it
// runs clockwise (GEOS's form); 0 for fewer than three vertices. Calls visit(v) for every vertex
// it reads (all of them, once each, from three on), so that a caller needing more of each vertex
// reads the ring once.
template <typename Visit>
double shoelace_visiting(std::span<const model::Vertex> v, Visit visit) {
    const size_t n = v.size();
    if (n < 3) return 0.0;
    const double x0 = v[0].x;
    visit(v[0]);
    double sum = 0.0;
    for (size_t i = 1; i + 1 < n; ++i) {
        visit(v[i]);
        sum += (v[i].x - x0) * (v[i - 1].y - v[i + 1].y);
    }
    visit(v[n - 1]);
    sum += (v[n - 1].x - x0) * (v[n - 2].y - v[0].y);
    return sum / 2.0;
}
double shoelace(std::span<const model::Vertex> vertices);

// The area a ring encloses, positive when it runs clockwise: the shoelace sum of its vertices
// (as GEOS takes it) plus the segments between each arc and its chord.
double ring_area(const model::Part& part);

}  // namespace ops
