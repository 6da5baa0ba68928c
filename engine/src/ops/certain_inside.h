// Quick, certain answers to "does this point lie inside this area?" and "do these two geometries
// meet?", for relation tests that one point can decide before GEOS builds its intersection graph.
#pragma once

#include "ops/geos_context.h"

namespace ops {

// Whether (x, y) certainly lies in the interior of `area` (a GEOS polygon or multipolygon) as
// GEOS's point locator reads it: inside a polygon's shell and outside its holes by the crossing
// rule, and on none of their rings. Every orientation it depends on is decided within Shewchuk's
// error bound, so true is exact; a point too close to a ring to tell, a non-finite point and any
// other kind of geometry give false (not known), never a wrong true.
bool certainly_inside(const GEOSGeometry* area, double x, double y);

// Whether the first vertex of either geometry certainly lies inside the other: then they share a
// point, and GEOS's relate would find them intersecting. False means not known.
bool certainly_meet(const GEOSGeometry* a, const GEOSGeometry* b);

}  // namespace ops
