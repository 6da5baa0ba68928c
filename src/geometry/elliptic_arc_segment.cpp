#include "geometry/elliptic_arc_segment.h"

namespace geometry::elliptic_arc_segment {

point::Point detail::center_point(KX_SegmentHandle segment) {
    return handle::create_or_stop<point::Point>(NAMED_ENGINE_CALL(EllipticArcSegment_getCenterPoint, segment));
}

bool detail::is_circular(KX_SegmentHandle segment) {
    return call_or_stop(NAMED_ENGINE_CALL(EllipticArcSegment_getIsCircular, segment)) != 0;
}

bool detail::is_counter_clockwise(KX_SegmentHandle segment) {
    return call_or_stop(NAMED_ENGINE_CALL(EllipticArcSegment_getIsCounterClockwise, segment)) != 0;
}

double detail::start_angle(KX_SegmentHandle segment) {
    return call_or_stop(NAMED_ENGINE_CALL(EllipticArcSegment_getStartAngle, segment));
}

double detail::end_angle(KX_SegmentHandle segment) {
    return call_or_stop(NAMED_ENGINE_CALL(EllipticArcSegment_getEndAngle, segment));
}

double detail::central_angle(KX_SegmentHandle segment) {
    return call_or_stop(NAMED_ENGINE_CALL(EllipticArcSegment_getCentralAngle, segment));
}

double detail::rotation_angle(KX_SegmentHandle segment) {
    return call_or_stop(NAMED_ENGINE_CALL(EllipticArcSegment_getRotationAngle, segment));
}

double detail::semi_major_axis(KX_SegmentHandle segment) {
    return call_or_stop(NAMED_ENGINE_CALL(EllipticArcSegment_getSemiMajorAxis, segment));
}

double detail::minor_major_ratio(KX_SegmentHandle segment) {
    return call_or_stop(NAMED_ENGINE_CALL(EllipticArcSegment_getMinorMajorRatio, segment));
}

Result<EllipticArcSegment> EllipticArcSegment::with_start_and_end_points(
    const point::Point& start, const point::Point& end, bool is_minor, bool is_counter_clockwise,
    const spatial_reference::SpatialReference* sr, double rotation_angle, double semi_major_axis,
    double minor_major_ratio) {
    return handle::create<EllipticArcSegment>(ENGINE_CALL(
        EllipticArcSegment_createWithStartAndEndpoints, start.handle(), end.handle(), int32_t{is_minor},
        int32_t{is_counter_clockwise}, handle::raw_or_null(sr), rotation_angle, semi_major_axis, minor_major_ratio));
}

Result<EllipticArcSegment> EllipticArcSegment::with_circular_elliptic_arc_with_center(
    const point::Point& start, const point::Point& end, const point::Point& center, bool is_minor,
    bool is_counter_clockwise, const spatial_reference::SpatialReference* sr) {
    return handle::create<EllipticArcSegment>(ENGINE_CALL(EllipticArcSegment_createCircularEllipticArcWithCenter,
                                                          start.handle(), end.handle(), center.handle(),
                                                          int32_t{is_minor}, int32_t{is_counter_clockwise},
                                                          handle::raw_or_null(sr)));
}

Result<EllipticArcSegment> EllipticArcSegment::with_circular_elliptic_arc_with_start_end_and_interior(
    const point::Point& start, const point::Point& end, const point::Point& interior,
    const spatial_reference::SpatialReference* sr) {
    return handle::create<EllipticArcSegment>(
        ENGINE_CALL(EllipticArcSegment_createCircularEllipticArcWithStartEndAndInterior, start.handle(),
                    end.handle(), interior.handle(), handle::raw_or_null(sr)));
}

}  // namespace geometry::elliptic_arc_segment
