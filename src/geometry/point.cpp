#include "geometry/point.h"

#include "geometry/environment.h"

namespace geometry::point {

namespace {

Point with_x_y_z_m_or_null(double x, double y, std::optional<double> z, std::optional<double> m,
                           const spatial_reference::SpatialReference* sr) {
    if (!z && !m) return sr == nullptr ? Point::with_x_y(x, y) : Point::with_x_y_spatial_reference(x, y, *sr);
    environment::init();
    if (sr == nullptr) {
        if (z && m) return handle::create_or_stop<Point>(NAMED_ENGINE_CALL(Point_createWithZM, x, y, *z, *m));
        if (z) return handle::create_or_stop<Point>(NAMED_ENGINE_CALL(Point_createWithXYZ, x, y, *z));
        return handle::create_or_stop<Point>(NAMED_ENGINE_CALL(Point_createWithM, x, y, *m));
    }
    auto* s = sr->handle();
    if (z && m) return handle::create_or_stop<Point>(NAMED_ENGINE_CALL(Point_createWithZMSpatialReference, s, x, y, *z, *m));
    if (z) return handle::create_or_stop<Point>(NAMED_ENGINE_CALL(Point_createWithXYZSpatialReference, s, x, y, *z));
    return handle::create_or_stop<Point>(NAMED_ENGINE_CALL(Point_createWithMSpatialReference, s, x, y, *m));
}

}  // namespace

Point Point::with_x_y(double x, double y) {
    environment::init();
    return handle::create_or_stop<Point>(NAMED_ENGINE_CALL(Point_createWithXY, x, y));
}

Point Point::with_x_y_spatial_reference(double x, double y, const spatial_reference::SpatialReference& sr) {
    environment::init();
    return handle::create_or_stop<Point>(NAMED_ENGINE_CALL(Point_createWithXYSpatialReference, sr.handle(), x, y));
}

Point Point::with_x_y_z_m(double x, double y, std::optional<double> z, std::optional<double> m) {
    return with_x_y_z_m_or_null(x, y, z, m, nullptr);
}

Point Point::with_x_y_z_m_spatial_reference(double x, double y, std::optional<double> z, std::optional<double> m,
                                            const spatial_reference::SpatialReference& sr) {
    return with_x_y_z_m_or_null(x, y, z, m, &sr);
}

double Point::x() const { return call_or_stop(NAMED_ENGINE_CALL(Point_getX, handle())); }

double Point::y() const { return call_or_stop(NAMED_ENGINE_CALL(Point_getY, handle())); }

std::optional<double> Point::z() const { return z_if(has_z()); }

std::optional<double> Point::m() const { return m_if(has_m()); }

std::optional<double> Point::z_if(bool has_z) const {
    return geometry::detail::if_present(has_z, [&] { return call_or_stop(NAMED_ENGINE_CALL(Point_getZ, handle())); });
}

std::optional<double> Point::m_if(bool has_m) const {
    return geometry::detail::if_present(has_m, [&] { return call_or_stop(NAMED_ENGINE_CALL(Point_getM, handle())); });
}

}  // namespace geometry::point
