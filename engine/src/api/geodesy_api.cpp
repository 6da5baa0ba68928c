// Geodetic measures: area, length and densification on the ellipsoid of the geometry's spatial
// reference, in the units asked for (square metres and metres without a unit).
#include "api/handles.h"
#include "model/unit.h"
#include "ops/geodetic_measures.h"

namespace {

// The unit a measure is given in; none means the base unit.
const model::Unit* unit_of(KX_UnitHandle handle, model::UnitKind kind) {
    if (handle == nullptr) return nullptr;
    const auto& unit = api::object<model::Unit>(handle, model::ClassTag::Unit);
    if (unit.kind() != kind)
        throw model::EngineError(model::kUnitError, "Wrong kind of unit.",
                               kind == model::UnitKind::Area ? "An area unit is needed." : "A linear unit is needed.");
    return &unit;
}

double in_unit(double base, const model::Unit* unit) { return unit == nullptr ? base : unit->from_base(base); }
double from_unit(double value, const model::Unit* unit) { return unit == nullptr ? value : unit->to_base(value); }

}  // namespace

extern "C" {

double KX_GeometryEngine_areaGeodetic(KX_GeometryHandle geometry, KX_UnitHandle unit, int32_t curve_type,
                                      const KX_ErrorCallbackRecord* rec) {
    return api::execute<double>(rec, __func__, [&] {
        const auto& g = api::geometry(geometry);
        const auto* u = unit_of(unit, model::UnitKind::Area);
        return in_unit(ops::geodetic_area(g, ops::curve_type(curve_type)), u);
    });
}

double KX_GeometryEngine_lengthGeodetic(KX_GeometryHandle geometry, KX_UnitHandle unit, int32_t curve_type,
                                        const KX_ErrorCallbackRecord* rec) {
    return api::execute<double>(rec, __func__, [&] {
        const auto& g = api::geometry(geometry);
        const auto* u = unit_of(unit, model::UnitKind::Linear);
        return in_unit(ops::geodetic_length(g, ops::curve_type(curve_type)), u);
    });
}

KX_GeometryHandle KX_GeometryEngine_densifyGeodetic(KX_GeometryHandle geometry, KX_UnitHandle unit, int32_t curve_type,
                                                    double max_segment_length, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        const auto& g = api::geometry(geometry);
        const auto* u = unit_of(unit, model::UnitKind::Linear);
        return api::new_geometry(ops::geodetic_densify(g, ops::curve_type(curve_type), from_unit(max_segment_length, u)));
    });
}

}  // extern "C"
