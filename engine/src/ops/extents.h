// The envelope around several geometries' extents (curves' bulges included), with z and m ranges
// where any of them has z or m; the empty envelope when all are empty.
#pragma once

#include <memory>
#include <vector>

#include "model/envelope.h"

namespace ops {

std::unique_ptr<model::Envelope> combined_extent(const std::vector<const model::Geometry*>& geometries);

}  // namespace ops
