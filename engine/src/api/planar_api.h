// What the exported planar operations share: reading their geometry and vector arguments and
// handing their results back as handles.
#pragma once

#include <vector>

#include "api/handles.h"
#include "ops/planar.h"

namespace api {

// The geometries of a vector of geometries, in order (borrowed from the vector).
std::vector<const model::Geometry*> geometries_of(KX_VectorHandle vector);

// The numbers of a vector of floats, in order.
std::vector<double> floats_of(KX_VectorHandle vector);

KX_ArrayHandle new_array(ops::Geometries geometries);

}  // namespace api
