// Geodetic buffers, one geometry or many, in the linear unit asked for (metres without a unit).
#include "api/planar_api.h"
#include "ops/geodetic_in_units.h"

using model::UnitKind;

extern "C" {

KX_GeometryHandle KX_GeometryEngine_bufferGeodetic(KX_GeometryHandle geometry, KX_UnitHandle unit, int32_t curve_type,
                                                   double distance, double max_deviation, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        return api::new_geometry(ops::geodetic_buffer_in(api::geometry(geometry), ops::curve_type(curve_type), distance,
                                                         max_deviation, api::unit_of(unit, UnitKind::Linear)));
    });
}

KX_ArrayHandle KX_GeometryEngine_bufferGeodeticCollection(KX_VectorHandle geometries, KX_VectorHandle distances,
                                                          KX_UnitHandle unit, int32_t curve_type, int32_t union_result,
                                                          double max_deviation, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_ArrayHandle>(rec, __func__, [&] {
        return api::new_array(ops::geodetic_buffers_in(api::geometries_of(geometries), api::floats_of(distances),
                                                       ops::curve_type(curve_type), max_deviation, union_result != 0,
                                                       api::unit_of(unit, UnitKind::Linear)));
    });
}

}  // extern "C"
