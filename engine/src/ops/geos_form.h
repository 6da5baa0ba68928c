// The GEOS form kept inside an engine geometry (model/geos_form.h), for the operations that only
// read their inputs: relation tests and overlays. A geometry used by many of them in one call is
// converted to GEOS once.
#pragma once

#include "model/geometry.h"
#include "ops/geos_context.h"

namespace ops {

// The GEOS form of `g`, owned by `g`: read it, never hand it to GEOS to take over or change.
const GEOSGeometry* geos_form(const model::Geometry& g);

}  // namespace ops
