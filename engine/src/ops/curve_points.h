// True curves as straight lines: the points that stand for a curved segment wherever a result
// must be straight. A curve is followed to within 1/1000 of its size (the radius of an arc, the
// extent of a Bezier curve's control polygon); z and m run linearly along the curve's parameter.
#pragma once

#include <functional>
#include <vector>

#include "model/part.h"

namespace ops {

inline constexpr double kCurveTolerance = 1e-3;

// Appends the points strictly between the segment's ends that follow its curve (none for a line).
void append_curve_points(const model::SegmentValue& segment, std::vector<model::Vertex>& out);

// The part with every curve replaced by its points, except the curves `keep` accepts (by segment
// index), which stay as they are.
model::Part straightened(const model::Part& part, const std::function<bool(uint64_t)>& keep = {});

}  // namespace ops
