// The bounding box of the image of a box under one PROJ operation. PROJ's own answer follows each
// edge through a fixed number of points, so an extreme lying between two of them is missed (metres
// for an envelope the size of a map zone); each extreme is searched for between the samples too.
#pragma once

#include <proj.h>

#include "model/proj_context.h"
#include "ops/bounds.h"

namespace ops {

// The box holding the image of every point of `box`'s edges under `operation` (run forward);
// x of the image may wrap (xmin > xmax) where PROJ reports an image across the antimeridian, as
// may x of the box when it is geographic. False when PROJ cannot transform the box at all.
bool image_bounds(const model::proj::Session& session, PJ* operation, Bounds box, Bounds& image);

}  // namespace ops
