// The owner of an engine cubic Bezier segment: start, two control points, end.
#pragma once

#include <string_view>

#include "geometry/point.h"
#include "geometry/segment.h"

namespace geometry::cubic_bezier_segment {

namespace detail {
point::Point control_point1(KX_SegmentHandle segment);
point::Point control_point2(KX_SegmentHandle segment);
}  // namespace detail

// The getters, shared by the owner and by the view that narrowing gives.
template <typename Self>
class CubicBezierOps {
public:
    point::Point control_point1() const { return detail::control_point1(raw()); }
    point::Point control_point2() const { return detail::control_point2(raw()); }

private:
    KX_SegmentHandle raw() const { return static_cast<const Self&>(*this).handle(); }
};

class CubicBezierSegment : public handle::Owner<CubicBezierSegment, &bindings::CorvaneFFI::KX_Segment_destroy,
                                                "CubicBezierSegment", "Segment">,
                           public CubicBezierOps<CubicBezierSegment> {
public:
    using BasicOwner::BasicOwner;
    static constexpr segment::SegmentType kind = segment::SegmentType::CubicBezier;
    static constexpr std::string_view type_name = "geometry::cubic_bezier_segment::CubicBezierSegment";
    using Ref = handle::View<KX_SegmentHandle, CubicBezierOps>;

    // The points and the spatial reference (null for none) are borrowed.
    static Result<CubicBezierSegment> with_start_point_control_point1_control_point2_end_point_spatial_reference(
        const point::Point& start, const point::Point& control_point1, const point::Point& control_point2,
        const point::Point& end, const spatial_reference::SpatialReference* sr);
};

}  // namespace geometry::cubic_bezier_segment
