// The one reading of a polygon's rings, by nesting rather than by winding: a ring that lies inside
// an even number of the polygon's other rings is an exterior, one inside an odd number is a hole
// of the smallest ring holding it. A polygon written with exteriors clockwise and the same polygon
// written the other way round thus mean the same region. Every operation reads polygons through
// here (to_geos and the measures), so no two of them can disagree about a ring's role.
#pragma once

#include <vector>

#include "model/vertex.h"

namespace ops {

struct RingRole {
    bool exterior = true;
    int owner = -1;  // for a hole, the index of the exterior it belongs to
};

// The role of each ring. Rings are given open (the first vertex not repeated), straight (curves
// already turned into chords) and without NaN vertices. A ring holds another when a vertex of the
// other (the first not on its boundary) lies inside it; equal rings hold neither. Candidates are
// found through a tree of the rings' bounding boxes, so the cost grows as n log n in rings for
// polygons whose rings do not all nest in each other.
std::vector<RingRole> ring_roles(const std::vector<std::vector<model::Vertex>>& rings);

// Where p lies against an open ring: 1 inside, -1 outside, 0 on its boundary.
int point_side(const model::Vertex& p, const std::vector<model::Vertex>& ring);

}  // namespace ops
