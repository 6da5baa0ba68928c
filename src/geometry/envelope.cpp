#include "geometry/envelope.h"

#include "geometry/environment.h"
#include "geometry/point.h"

namespace geometry::envelope {

namespace {

Envelope with_x_y_z_m_or_null(double x0, double x1, double y0, double y1, std::optional<Range> z,
                              std::optional<Range> m, const spatial_reference::SpatialReference* sr) {
    if (!z && !m)
        return sr == nullptr ? Envelope::with_x_y(x0, x1, y0, y1)
                             : Envelope::with_x_y_spatial_reference(x0, x1, y0, y1, *sr);
    environment::init();
    if (sr == nullptr) {
        if (z && m)
            return handle::create_or_stop<Envelope>(
                NAMED_ENGINE_CALL(Envelope_createWithZM, x0, x1, y0, y1, z->first, z->second, m->first, m->second));
        if (z)
            return handle::create_or_stop<Envelope>(
                NAMED_ENGINE_CALL(Envelope_createWithXYZ, x0, x1, y0, y1, z->first, z->second));
        return handle::create_or_stop<Envelope>(
            NAMED_ENGINE_CALL(Envelope_createWithM, x0, x1, y0, y1, m->first, m->second));
    }
    auto* s = sr->handle();
    if (z && m)
        return handle::create_or_stop<Envelope>(NAMED_ENGINE_CALL(
            Envelope_createWithZMSpatialReference, s, x0, x1, y0, y1, z->first, z->second, m->first, m->second));
    if (z)
        return handle::create_or_stop<Envelope>(
            NAMED_ENGINE_CALL(Envelope_createWithXYZSpatialReference, s, x0, x1, y0, y1, z->first, z->second));
    return handle::create_or_stop<Envelope>(
        NAMED_ENGINE_CALL(Envelope_createWithMSpatialReference, s, x0, x1, y0, y1, m->first, m->second));
}

}  // namespace

Envelope Envelope::with_x_y(double x_min, double x_max, double y_min, double y_max) {
    environment::init();
    return handle::create_or_stop<Envelope>(NAMED_ENGINE_CALL(Envelope_createWithXY, x_min, x_max, y_min, y_max));
}

Envelope Envelope::with_x_y_spatial_reference(double x_min, double x_max, double y_min, double y_max,
                                              const spatial_reference::SpatialReference& sr) {
    environment::init();
    return handle::create_or_stop<Envelope>(
        NAMED_ENGINE_CALL(Envelope_createWithXYSpatialReference, sr.handle(), x_min, x_max, y_min, y_max));
}

Envelope Envelope::with_x_y_z_m(double x_min, double x_max, double y_min, double y_max, std::optional<Range> z,
                                std::optional<Range> m) {
    return with_x_y_z_m_or_null(x_min, x_max, y_min, y_max, z, m, nullptr);
}

Envelope Envelope::with_x_y_z_m_spatial_reference(double x_min, double x_max, double y_min, double y_max,
                                                  std::optional<Range> z, std::optional<Range> m,
                                                  const spatial_reference::SpatialReference& sr) {
    return with_x_y_z_m_or_null(x_min, x_max, y_min, y_max, z, m, &sr);
}

double Envelope::x_min() const { return call_or_stop(NAMED_ENGINE_CALL(Envelope_getXMin, handle())); }
double Envelope::x_max() const { return call_or_stop(NAMED_ENGINE_CALL(Envelope_getXMax, handle())); }
double Envelope::y_min() const { return call_or_stop(NAMED_ENGINE_CALL(Envelope_getYMin, handle())); }
double Envelope::y_max() const { return call_or_stop(NAMED_ENGINE_CALL(Envelope_getYMax, handle())); }

std::optional<double> Envelope::z_min() const {
    return geometry::detail::if_present(has_z(), [&] { return call_or_stop(NAMED_ENGINE_CALL(Envelope_getZMin, handle())); });
}

std::optional<double> Envelope::z_max() const {
    return geometry::detail::if_present(has_z(), [&] { return call_or_stop(NAMED_ENGINE_CALL(Envelope_getZMax, handle())); });
}

std::optional<double> Envelope::m_min() const {
    return geometry::detail::if_present(has_m(), [&] { return call_or_stop(NAMED_ENGINE_CALL(Envelope_getMMin, handle())); });
}

std::optional<double> Envelope::m_max() const {
    return geometry::detail::if_present(has_m(), [&] { return call_or_stop(NAMED_ENGINE_CALL(Envelope_getMMax, handle())); });
}

point::Point Envelope::center() const {
    return handle::create_or_stop<point::Point>(NAMED_ENGINE_CALL(Envelope_getCenter, handle()));
}

}  // namespace geometry::envelope
