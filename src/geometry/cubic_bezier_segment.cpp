#include "geometry/cubic_bezier_segment.h"

namespace geometry::cubic_bezier_segment {

point::Point detail::control_point1(KX_SegmentHandle segment) {
    return handle::create_or_stop<point::Point>(NAMED_ENGINE_CALL(CubicBezierSegment_getControlPoint1, segment));
}

point::Point detail::control_point2(KX_SegmentHandle segment) {
    return handle::create_or_stop<point::Point>(NAMED_ENGINE_CALL(CubicBezierSegment_getControlPoint2, segment));
}

Result<CubicBezierSegment>
CubicBezierSegment::with_start_point_control_point1_control_point2_end_point_spatial_reference(
    const point::Point& start, const point::Point& control_point1, const point::Point& control_point2,
    const point::Point& end, const spatial_reference::SpatialReference* sr) {
    return handle::create<CubicBezierSegment>(ENGINE_CALL(CubicBezierSegment_create, start.handle(),
                                                          control_point1.handle(), control_point2.handle(),
                                                          end.handle(), handle::raw_or_null(sr)));
}

}  // namespace geometry::cubic_bezier_segment
