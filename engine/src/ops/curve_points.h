// Parts whose curves become chords (ops/curve_densify.h) except those an operation can carry
// exactly, which stay curves.
#pragma once

#include <functional>

#include "model/part.h"

namespace ops {

// The part with every curve replaced by its chords, except the curves `keep` accepts (by segment
// index), which stay as they are; all vertices are kept, NaN ones included.
model::Part straightened(const model::Part& part, const std::function<bool(uint64_t)>& keep = {});

}  // namespace ops
