// The extent of a geometry: the smallest envelope holding it, curves included (an arc's bulge, a
// Bezier curve's turning points), with z and m ranges where the geometry has them. An empty
// geometry has the empty envelope.
#pragma once

#include <memory>

#include "model/envelope.h"

namespace model {

std::unique_ptr<Envelope> extent_of(const Geometry& geometry);

}  // namespace model
