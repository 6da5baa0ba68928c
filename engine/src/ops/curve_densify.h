// Curves turned into straight chords for the computations that know no curves. The chords stay
// within kArcTolerance of the true curve, relative to its size: an arc's radius (semi-major axis),
// a Bezier curve's control polygon.
#pragma once

#include <vector>

#include "model/part.h"

namespace ops {

// No chord lies farther from its curve than this fraction of the curve's radius (0.1%).
inline constexpr double kArcTolerance = 1e-3;

// Appends the chord vertices of `segment` after its start: the inner vertices, then the end.
// z and m are interpolated by the fraction of the curve's parameter; a straight segment appends
// its end alone.
void append_chords(const model::SegmentValue& segment, std::vector<model::Vertex>& out);

// How many vertices straight_vertices adds to the part's own for the chords of its curves,
// counted without making them.
double added_chord_vertices(const model::Part& part);

// The vertices of a part with every curve replaced by its chords and vertices without x or y
// (NaN) left out. A ring's vertices are not closed: the first is not repeated at the end.
std::vector<model::Vertex> straight_vertices(const model::Part& part);

// The same vertices without a copy where the part's own serve (no curves, every vertex located):
// then the part's own vector, else straight_vertices(part) made in `scratch`. Valid while both are.
const std::vector<model::Vertex>& straight_vertices(const model::Part& part, std::vector<model::Vertex>& scratch);

}  // namespace ops
