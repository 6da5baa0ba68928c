// A straight segment: only a narrowing target, never built or held on its own (a straight segment
// arises between two vertices of a part).
#pragma once

#include <string_view>

#include "geometry/segment.h"

namespace geometry::line_segment {

struct LineSegment {
    static constexpr segment::SegmentType kind = segment::SegmentType::Line;
    static constexpr std::string_view type_name = "geometry::line_segment::LineSegment";
    using Ref = handle::View<KX_SegmentHandle>;
};

}  // namespace geometry::line_segment
