// Geodetic buffers, one geometry or many, in the linear unit asked for (metres without a unit).
#include "api/planar_api.h"
#include "model/unit.h"
#include "ops/geodetic_buffer.h"

namespace {

// Metres of a distance given in a linear unit (metres without one).
double metres(double value, KX_UnitHandle handle) {
    if (handle == nullptr) return value;
    const auto& unit = api::object<model::Unit>(handle, model::ClassTag::Unit);
    if (unit.kind() != model::UnitKind::Linear)
        throw model::EngineError(model::kUnitError, "Wrong kind of unit.", "A linear unit is needed.");
    return unit.to_base(value);
}

}  // namespace

extern "C" {

KX_GeometryHandle KX_GeometryEngine_bufferGeodetic(KX_GeometryHandle geometry, KX_UnitHandle unit, int32_t curve_type,
                                                   double distance, double max_deviation, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        const auto& g = api::geometry(geometry);
        return api::new_geometry(
            ops::geodetic_buffer(g, ops::curve_type(curve_type), metres(distance, unit), metres(max_deviation, unit)));
    });
}

KX_ArrayHandle KX_GeometryEngine_bufferGeodeticCollection(KX_VectorHandle geometries, KX_VectorHandle distances,
                                                          KX_UnitHandle unit, int32_t curve_type, int32_t union_result,
                                                          double max_deviation, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_ArrayHandle>(rec, __func__, [&] {
        const auto type = ops::curve_type(curve_type);
        std::vector<double> in_metres;
        for (double d : api::floats_of(distances)) in_metres.push_back(metres(d, unit));
        return api::new_array(ops::geodetic_buffers(api::geometries_of(geometries), in_metres, type,
                                                    metres(max_deviation, unit), union_result != 0));
    });
}

}  // extern "C"
