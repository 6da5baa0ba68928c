// Points: constructors from coordinates and the coordinate getters. A point never gets an
// ordinate it was not made with: getZ of a point without z is NaN.
#include "api/handles.h"

namespace {

using model::Dims;
using model::kNaN;
using model::Vertex;

KX_GeometryHandle create(const KX_ErrorCallbackRecord* rec, const char* name, KX_SpatialReferenceHandle sr,
                         Vertex v, Dims dims) {
    return api::execute<KX_GeometryHandle>(rec, name, [&] {
        return api::new_point(v, dims, api::spatial_reference_of(sr));
    });
}

double coordinate(const KX_ErrorCallbackRecord* rec, const char* name, KX_GeometryHandle point,
                  double Vertex::*member) {
    return api::execute<double>(rec, name, [&] { return api::point(point).vertex.*member; });
}

}  // namespace

extern "C" {

KX_GeometryHandle KX_Point_createWithXY(double x, double y, const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, nullptr, {x, y}, {});
}

KX_GeometryHandle KX_Point_createWithXYSpatialReference(KX_SpatialReferenceHandle spatial_reference, double x,
                                                       double y, const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, spatial_reference, {x, y}, {});
}

KX_GeometryHandle KX_Point_createWithXYZ(double x, double y, double z, const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, nullptr, {x, y, z}, {true, false});
}

KX_GeometryHandle KX_Point_createWithXYZSpatialReference(KX_SpatialReferenceHandle spatial_reference, double x,
                                                        double y, double z, const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, spatial_reference, {x, y, z}, {true, false});
}

KX_GeometryHandle KX_Point_createWithM(double x, double y, double m, const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, nullptr, {x, y, kNaN, m}, {false, true});
}

KX_GeometryHandle KX_Point_createWithMSpatialReference(KX_SpatialReferenceHandle spatial_reference, double x,
                                                      double y, double m, const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, spatial_reference, {x, y, kNaN, m}, {false, true});
}

KX_GeometryHandle KX_Point_createWithZM(double x, double y, double z, double m, const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, nullptr, {x, y, z, m}, {true, true});
}

KX_GeometryHandle KX_Point_createWithZMSpatialReference(KX_SpatialReferenceHandle spatial_reference, double x,
                                                       double y, double z, double m,
                                                       const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, spatial_reference, {x, y, z, m}, {true, true});
}

double KX_Point_getX(KX_GeometryHandle point, const KX_ErrorCallbackRecord* rec) {
    return coordinate(rec, __func__, point, &Vertex::x);
}

double KX_Point_getY(KX_GeometryHandle point, const KX_ErrorCallbackRecord* rec) {
    return coordinate(rec, __func__, point, &Vertex::y);
}

double KX_Point_getZ(KX_GeometryHandle point, const KX_ErrorCallbackRecord* rec) {
    return coordinate(rec, __func__, point, &Vertex::z);
}

double KX_Point_getM(KX_GeometryHandle point, const KX_ErrorCallbackRecord* rec) {
    return coordinate(rec, __func__, point, &Vertex::m);
}

}  // extern "C"
