// The most vertices an operation whose output size follows from its arguments (densify, planar
// or geodetic; the chords of the curves generalize works on) may build for one geometry. The
// count is made before anything is built, so a call that cannot be served is refused at once
// instead of after minutes of allocation.
#pragma once

#include <algorithm>
#include <cmath>

#include "model/engine_error.h"

namespace ops {

// 1e7 vertices of four doubles take 320 MB, and a result briefly exists twice while the caller
// reads it back: within a laptop's memory.
inline constexpr double kMaxResultVertices = 1e7;

// How many equal pieces a segment takes when `wanted` is its length over the step: at least one,
// at most `cap`. A NaN (a segment with a NaN end) is one piece and an infinity (a step of 5e-324)
// is `cap`, so the count never reaches an integer conversion as NaN or infinity.
inline double piece_count(double wanted, double cap) { return wanted >= 1.0 ? std::min(std::ceil(wanted), cap) : 1.0; }

// Refuses a result of `vertices` vertices past the budget; a NaN count is refused too. `why` is
// the error's additional text: what the caller asked for that makes the result so large.
inline void require_vertex_budget(double vertices,
                                  const char* why = "The maximum segment length is too small for the geometry.") {
    if (!(vertices <= kMaxResultVertices)) throw model::EngineError(model::kGeometryError, "Too many vertices.", why);
}

}  // namespace ops
