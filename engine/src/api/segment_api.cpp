// Segments: the curve constructors, which keep exactly the end points they are given, and the
// getters of their parameters.
#include "api/handles.h"
#include "model/elliptic_arc.h"
#include "model/segment.h"

namespace {

using model::CubicBezier;
using model::Dims;
using model::EllipticArc;
using model::Segment;
using model::SegmentValue;
using model::XY;

model::Segment& segment(KX_SegmentHandle handle) {
    return api::object<Segment>(handle, model::ClassTag::Segment);
}

template <typename Curve>
const Curve& curve_of(KX_SegmentHandle handle, const char* kind_name) {
    const auto* c = std::get_if<Curve>(&segment(handle).value.curve);
    if (c == nullptr)
        throw model::EngineError(model::kInvalidHandle, "Invalid handle.", std::string("Expected a handle to ") + kind_name + ".");
    return *c;
}

const EllipticArc& arc(KX_SegmentHandle handle) { return curve_of<EllipticArc>(handle, "an elliptic arc"); }

XY xy(KX_GeometryHandle point) {
    const auto& v = api::point(point).vertex;
    return {v.x, v.y};
}

// A new segment from two end points (kept as given, with their z and m) and a shape.
KX_SegmentHandle new_segment(KX_GeometryHandle start, KX_GeometryHandle end, model::Curve curve,
                             KX_SpatialReferenceHandle sr) {
    const auto& s = api::point(start);
    const auto& e = api::point(end);
    Dims dims = s.dims;
    dims |= e.dims;
    return api::handle_of<KX_SegmentHandle>(
        new Segment(SegmentValue{s.vertex, e.vertex, curve}, dims, api::spatial_reference_of(sr)));
}

KX_GeometryHandle plane_point(double x, double y, const Segment& s) { return api::new_point({x, y}, {}, s.spatial_reference); }

template <typename R, typename Get>
R arc_value(const KX_ErrorCallbackRecord* rec, const char* name, KX_SegmentHandle handle, Get get) {
    return api::execute<R>(rec, name, [&]() -> R { return get(arc(handle)); });
}

}  // namespace

extern "C" {

void KX_Segment_destroy(KX_SegmentHandle segment, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] { api::destroy(segment, model::ClassTag::Segment); });
}

int32_t KX_Segment_getObjectType(KX_SegmentHandle handle, const KX_ErrorCallbackRecord* rec) {
    return api::execute<int32_t>(rec, __func__,
                                 [&] { return static_cast<int32_t>(segment(handle).kind()); });
}

KX_SegmentHandle KX_CubicBezierSegment_create(KX_GeometryHandle start_point, KX_GeometryHandle control_point1,
                                              KX_GeometryHandle control_point2, KX_GeometryHandle end_point,
                                              KX_SpatialReferenceHandle spatial_reference,
                                              const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_SegmentHandle>(rec, __func__, [&] {
        const XY c1 = xy(control_point1), c2 = xy(control_point2);
        model::require_finite_curve_points({xy(start_point), c1, c2, xy(end_point)}, "a cubic Bezier curve");
        return new_segment(start_point, end_point, CubicBezier{c1.x, c1.y, c2.x, c2.y}, spatial_reference);
    });
}

KX_GeometryHandle KX_CubicBezierSegment_getControlPoint1(KX_SegmentHandle handle, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        const auto& b = curve_of<CubicBezier>(handle, "a cubic Bezier curve");
        return plane_point(b.c1x, b.c1y, segment(handle));
    });
}

KX_GeometryHandle KX_CubicBezierSegment_getControlPoint2(KX_SegmentHandle handle, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        const auto& b = curve_of<CubicBezier>(handle, "a cubic Bezier curve");
        return plane_point(b.c2x, b.c2y, segment(handle));
    });
}

KX_SegmentHandle KX_EllipticArcSegment_createWithStartAndEndpoints(
    KX_GeometryHandle start_point, KX_GeometryHandle end_point, int32_t is_minor, int32_t is_counter_clockwise,
    KX_SpatialReferenceHandle spatial_reference, double rotation_angle, double semi_major_axis,
    double minor_major_ratio, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_SegmentHandle>(rec, __func__, [&] {
        const EllipticArc a = model::elliptic_arc_between(xy(start_point), xy(end_point), is_minor != 0,
                                                          is_counter_clockwise != 0, rotation_angle,
                                                          semi_major_axis, minor_major_ratio);
        return new_segment(start_point, end_point, a, spatial_reference);
    });
}

KX_SegmentHandle KX_EllipticArcSegment_createCircularEllipticArcWithCenter(
    KX_GeometryHandle start_point, KX_GeometryHandle end_point, KX_GeometryHandle center_point, int32_t is_minor,
    int32_t is_counter_clockwise, KX_SpatialReferenceHandle spatial_reference, const KX_ErrorCallbackRecord* rec) {
    (void)is_minor;  // the direction alone chooses between the two arcs about a given centre
    return api::execute<KX_SegmentHandle>(rec, __func__, [&] {
        const EllipticArc a = model::circular_arc_with_center(xy(start_point), xy(end_point), xy(center_point),
                                                              is_counter_clockwise != 0);
        return new_segment(start_point, end_point, a, spatial_reference);
    });
}

KX_SegmentHandle KX_EllipticArcSegment_createCircularEllipticArcWithStartEndAndInterior(
    KX_GeometryHandle start_point, KX_GeometryHandle end_point, KX_GeometryHandle interior_point,
    KX_SpatialReferenceHandle spatial_reference, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_SegmentHandle>(
        rec, __func__, [&] {
            const EllipticArc a = model::circular_arc_through(xy(start_point), xy(end_point), xy(interior_point));
            return new_segment(start_point, end_point, a, spatial_reference);
        });
}

KX_GeometryHandle KX_EllipticArcSegment_getCenterPoint(KX_SegmentHandle handle, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        const EllipticArc& a = arc(handle);
        return plane_point(a.cx, a.cy, segment(handle));
    });
}

double KX_EllipticArcSegment_getCentralAngle(KX_SegmentHandle h, const KX_ErrorCallbackRecord* rec) {
    return arc_value<double>(rec, __func__, h, [](const EllipticArc& a) { return a.central; });
}

double KX_EllipticArcSegment_getStartAngle(KX_SegmentHandle h, const KX_ErrorCallbackRecord* rec) {
    return arc_value<double>(rec, __func__, h, model::reported_start_angle);
}

double KX_EllipticArcSegment_getEndAngle(KX_SegmentHandle h, const KX_ErrorCallbackRecord* rec) {
    return arc_value<double>(rec, __func__, h, model::reported_end_angle);
}

uint8_t KX_EllipticArcSegment_getIsCircular(KX_SegmentHandle h, const KX_ErrorCallbackRecord* rec) {
    return arc_value<uint8_t>(rec, __func__, h, [](const EllipticArc& a) { return a.circular(); });
}

uint8_t KX_EllipticArcSegment_getIsCounterClockwise(KX_SegmentHandle h, const KX_ErrorCallbackRecord* rec) {
    return arc_value<uint8_t>(rec, __func__, h,
                              [](const EllipticArc& a) { return a.central > 0; });
}

double KX_EllipticArcSegment_getMinorMajorRatio(KX_SegmentHandle h, const KX_ErrorCallbackRecord* rec) {
    return arc_value<double>(rec, __func__, h, [](const EllipticArc& a) { return a.ratio; });
}

double KX_EllipticArcSegment_getRotationAngle(KX_SegmentHandle h, const KX_ErrorCallbackRecord* rec) {
    return arc_value<double>(rec, __func__, h, [](const EllipticArc& a) { return a.rotation; });
}

double KX_EllipticArcSegment_getSemiMajorAxis(KX_SegmentHandle h, const KX_ErrorCallbackRecord* rec) {
    return arc_value<double>(rec, __func__, h, [](const EllipticArc& a) { return a.semi_major; });
}

}  // extern "C"
