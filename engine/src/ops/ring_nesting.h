// The one reading of a polygon's rings. Every operation reads polygons through here (to_geos and
// the measures), so no two of them can disagree about a ring's role.
//
// Rings written the model's way (clockwise exteriors, counter-clockwise holes) are read by their
// winding: that is how every result of the engine is written, so a result read back means exactly
// what GEOS returned, and a clockwise ring inside another clockwise ring stays a second exterior
// (overlapping parts), as a multipolygon written that way means. The rings are written that way
// when at least one runs clockwise and every counter-clockwise ring lies within the box of a
// clockwise one (a hole lies within its exterior, so its box within the exterior's box).
//
// Any other rings (the other winding, as OGC and GeoJSON write them, or all one way) are read by
// nesting: each ring's parent is the smallest ring holding it; a ring at an even depth of that
// chain is an exterior, one at an odd depth a hole of its parent.
#pragma once

#include <span>
#include <vector>

#include "model/vertex.h"
#include "ops/scratch.h"

namespace ops {

struct RingRole {
    bool exterior = true;
    int owner = -1;  // for a hole, the index of the exterior it belongs to
};

struct RingReading {
    Scratch<RingRole> roles;
    // Each ring's area as its shoelace gives it (unsigned): the reading needs it, and the measures
    // of straight rings take it from here rather than read every vertex again.
    Scratch<double> areas;
    // Whether two exteriors may cover the same region (one inside another outside its holes, two
    // equal exteriors, and with Overlaps::Crossing two that cross): GEOS's overlays and relation
    // tests take such a polygon only once its parts are united. Exteriors that only touch (parcels
    // sharing edges or corners) do not overlap: GEOS's overlays and point location take them.
    bool overlapping = false;
};

// Which overlaps of exteriors `overlapping` reports: none at all (what the measures need, which
// count each exterior); those found while reading the roles (an exterior held by another, equal
// exteriors); or those and every pair of exteriors whose boundaries cross into each other, which
// GEOS needs united.
enum class Overlaps { None, Nested, Crossing };

// The roles of the rings. Rings are given open (the first vertex not repeated), straight (curves
// already turned into chords) and without NaN vertices. A ring holds another when the first vertex
// of the other that lies clearly off its boundary (not on it, nor within rounding of it) lies
// inside it; when every vertex tried lies on its boundary, a point strictly inside the other ring
// decides, exactly where it too lies within rounding of the boundary. In the nesting reading equal
// rings hold neither. Each ring's candidate holders are the rings whose boxes hold its box, found
// through an index of boxes (ops/holder_index.h) and tried smallest first; the first that holds it
// is its parent.
// The cost grows as n log n in rings for every arrangement whose rings are not nested many deep; a
// ring asked about many others (a shell with many holes) files its edges by height, so that each
// question reads a few of its edges rather than all.
RingReading ring_roles(const std::vector<std::vector<model::Vertex>>& rings, Overlaps overlaps = Overlaps::Nested);
RingReading ring_roles(std::span<const std::span<const model::Vertex>> rings, Overlaps overlaps);

// Where p lies against an open ring: 1 inside, -1 outside, 0 on its boundary or within rounding of
// it. Decided with an error bound, so that 1 and -1 are certain.
int point_side(const model::Vertex& p, const std::vector<model::Vertex>& ring);

}  // namespace ops
