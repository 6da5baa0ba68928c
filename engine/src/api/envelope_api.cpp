// Envelopes: constructors from bounds, bound getters and the centre. Bounds are kept as given;
// the empty envelope (NaN xmin) is kept as it came, its getters answer NaN.
#include "api/handles.h"
#include "model/envelope.h"

namespace {

using model::Dims;
using model::Envelope;
using model::Range;

KX_GeometryHandle create(const KX_ErrorCallbackRecord* rec, const char* name, KX_SpatialReferenceHandle sr,
                         Range x, Range y, Range z, Range m, Dims dims) {
    return api::execute<KX_GeometryHandle>(rec, name, [&] {
        auto e = std::make_unique<Envelope>(x, y, z, m, dims);
        e->set_spatial_reference(api::spatial_reference_of(sr));
        return api::new_geometry(std::move(e));
    });
}

Envelope& envelope(KX_GeometryHandle handle) {
    return api::geometry_of<Envelope>(handle, model::GeometryKind::Envelope, "envelope");
}

double bound(const KX_ErrorCallbackRecord* rec, const char* name, KX_GeometryHandle handle, Range Envelope::*range,
             double Range::*end) {
    return api::execute<double>(rec, name, [&] { return envelope(handle).*range.*end; });
}

}  // namespace

extern "C" {

KX_GeometryHandle KX_Envelope_createWithXY(double x_min, double x_max, double y_min, double y_max,
                                           const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, nullptr, {x_min, x_max}, {y_min, y_max}, {}, {}, {});
}

KX_GeometryHandle KX_Envelope_createWithXYSpatialReference(KX_SpatialReferenceHandle spatial_reference,
                                                           double x_min, double x_max, double y_min, double y_max,
                                                           const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, spatial_reference, {x_min, x_max},
                  {y_min, y_max}, {}, {}, {});
}

KX_GeometryHandle KX_Envelope_createWithXYZ(double x_min, double x_max, double y_min, double y_max, double z_min,
                                            double z_max, const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, nullptr, {x_min, x_max}, {y_min, y_max}, {z_min, z_max}, {},
                  {true, false});
}

KX_GeometryHandle KX_Envelope_createWithXYZSpatialReference(KX_SpatialReferenceHandle spatial_reference,
                                                            double x_min, double x_max, double y_min, double y_max,
                                                            double z_min, double z_max,
                                                            const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, spatial_reference, {x_min, x_max},
                  {y_min, y_max}, {z_min, z_max}, {}, {true, false});
}

KX_GeometryHandle KX_Envelope_createWithM(double x_min, double x_max, double y_min, double y_max, double m_min,
                                          double m_max, const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, nullptr, {x_min, x_max}, {y_min, y_max}, {}, {m_min, m_max},
                  {false, true});
}

KX_GeometryHandle KX_Envelope_createWithMSpatialReference(KX_SpatialReferenceHandle spatial_reference, double x_min,
                                                          double x_max, double y_min, double y_max, double m_min,
                                                          double m_max, const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, spatial_reference, {x_min, x_max},
                  {y_min, y_max}, {}, {m_min, m_max}, {false, true});
}

KX_GeometryHandle KX_Envelope_createWithZM(double x_min, double x_max, double y_min, double y_max, double z_min,
                                           double z_max, double m_min, double m_max,
                                           const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, nullptr, {x_min, x_max}, {y_min, y_max}, {z_min, z_max},
                  {m_min, m_max}, {true, true});
}

KX_GeometryHandle KX_Envelope_createWithZMSpatialReference(KX_SpatialReferenceHandle spatial_reference,
                                                           double x_min, double x_max, double y_min, double y_max,
                                                           double z_min, double z_max, double m_min, double m_max,
                                                           const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, spatial_reference, {x_min, x_max},
                  {y_min, y_max}, {z_min, z_max}, {m_min, m_max}, {true, true});
}

double KX_Envelope_getXMin(KX_GeometryHandle e, const KX_ErrorCallbackRecord* rec) {
    return bound(rec, __func__, e, &Envelope::x, &Range::min);
}
double KX_Envelope_getXMax(KX_GeometryHandle e, const KX_ErrorCallbackRecord* rec) {
    return bound(rec, __func__, e, &Envelope::x, &Range::max);
}
double KX_Envelope_getYMin(KX_GeometryHandle e, const KX_ErrorCallbackRecord* rec) {
    return bound(rec, __func__, e, &Envelope::y, &Range::min);
}
double KX_Envelope_getYMax(KX_GeometryHandle e, const KX_ErrorCallbackRecord* rec) {
    return bound(rec, __func__, e, &Envelope::y, &Range::max);
}
double KX_Envelope_getZMin(KX_GeometryHandle e, const KX_ErrorCallbackRecord* rec) {
    return bound(rec, __func__, e, &Envelope::z, &Range::min);
}
double KX_Envelope_getZMax(KX_GeometryHandle e, const KX_ErrorCallbackRecord* rec) {
    return bound(rec, __func__, e, &Envelope::z, &Range::max);
}
double KX_Envelope_getMMin(KX_GeometryHandle e, const KX_ErrorCallbackRecord* rec) {
    return bound(rec, __func__, e, &Envelope::m, &Range::min);
}
double KX_Envelope_getMMax(KX_GeometryHandle e, const KX_ErrorCallbackRecord* rec) {
    return bound(rec, __func__, e, &Envelope::m, &Range::max);
}

KX_GeometryHandle KX_Envelope_getCenter(KX_GeometryHandle e, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        const Envelope& env = envelope(e);
        auto mid = [](Range r) { return (r.min + r.max) / 2.0; };
        return api::new_point({mid(env.x), mid(env.y), mid(env.z), mid(env.m)}, env.dims, env.spatial_reference());
    });
}

}  // extern "C"
