#include "geometry/mutable_part.h"

#include "geometry/environment.h"

namespace geometry::mutable_part {

MutablePart MutablePart::with_spatial_reference(const spatial_reference::SpatialReference* sr) {
    environment::init();
    return handle::create_or_stop<MutablePart>(
        NAMED_ENGINE_CALL(MutablePart_createWithSpatialReference, handle::raw_or_null(sr)));
}

void MutablePart::add_point(const point::Point& point) const {
    call_or_stop(NAMED_ENGINE_CALL(MutablePart_addPoint, handle(), point.handle()));
}

void MutablePart::add_point_x_y(double x, double y) const {
    call_or_stop(NAMED_ENGINE_CALL(MutablePart_addPointXY, handle(), x, y));
}

void MutablePart::add_point_x_y_z_m(double x, double y, std::optional<double> z, std::optional<double> m) const {
    if (m) {
        add_point(point::Point::with_x_y_z_m(x, y, z, m));
    } else if (z) {
        call_or_stop(NAMED_ENGINE_CALL(MutablePart_addPointXYZ, handle(), x, y, *z));
    } else {
        add_point_x_y(x, y);
    }
}

void MutablePart::add_points(std::span<const double> xs, std::span<const double> ys,
                             std::span<const double> zs) const {
    const auto& engine = bindings::ffi();
    KX_MutablePartHandle part = handle();
    if (zs.empty()) {
        call_each_or_stop(ENGINE_FUNCTION_NAME(MutablePart_addPointXY), xs.size(),
                          [&](const KX_ErrorCallbackRecord* rec, std::size_t i) {
                              engine.KX_MutablePart_addPointXY(part, xs[i], ys[i], rec);
                          });
    } else {
        call_each_or_stop(ENGINE_FUNCTION_NAME(MutablePart_addPointXYZ), xs.size(),
                          [&](const KX_ErrorCallbackRecord* rec, std::size_t i) {
                              engine.KX_MutablePart_addPointXYZ(part, xs[i], ys[i], zs[i], rec);
                          });
    }
}

void MutablePart::add_segment_handle(KX_SegmentHandle segment) const {
    call_or_stop(NAMED_ENGINE_CALL(MutablePart_addSegment, handle(), segment));
}

}  // namespace geometry::mutable_part
