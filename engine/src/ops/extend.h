// Extending a polyline's path ends to meet another polyline.
#pragma once

#include <cstdint>

#include "ops/planar.h"

namespace ops {

// The bits of the extend options.
enum ExtendOption : int32_t {
    kRelocateEnds = 1,          // move the end vertex to the meeting point instead of adding one
    kKeepEndAttributes = 2,     // the new end takes the old end's z and m
    kNoEndAttributes = 4,       // the new end has no z and m (NaN)
    kNotFromStartPoint = 8,
    kNotFromEndPoint = 16,
};

// Each path's first and last segment continued straight on until it meets the extender; the
// nearest meeting point wins. Path ends shared with another path stay. Without either attribute
// option the new end's z and m are extrapolated along the segment. None when no end can reach the
// extender. A polyline with curves is refused (an engine error).
GeometryPtr extend(const model::Geometry& line, const model::Geometry& extender, int32_t options);

}  // namespace ops
