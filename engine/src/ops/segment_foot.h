// The point of a segment nearest to a given point: where cut and restore find which input segment
// a vertex lies on, and how far along it.
#pragma once

#include <algorithm>
#include <cmath>

#include "model/vertex.h"

namespace ops {

struct SegmentFoot {
    double along;     // 0 at the segment's start, 1 at its end
    double distance;  // NaN where it cannot be measured (a segment of no length, a NaN ordinate)
};

inline SegmentFoot segment_foot(const model::Vertex& a, const model::Vertex& b, double x, double y) {
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    const double along = std::clamp(((x - a.x) * dx + (y - a.y) * dy) / len2, 0.0, 1.0);
    return {along, std::hypot(a.x + along * dx - x, a.y + along * dy - y)};
}

}  // namespace ops
