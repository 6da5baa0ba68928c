// Units of length and area; the area-unit conversions.
#include "api/execute.h"
#include "model/unit.h"

using model::ClassTag;
using model::Unit;
using model::UnitKind;

namespace {

KX_UnitHandle new_unit(UnitKind kind, int32_t code) { return api::handle_of<KX_UnitHandle>(new Unit(kind, code)); }

const Unit& area_unit(KX_UnitHandle handle) {
    const Unit& unit = api::object<Unit>(handle, ClassTag::Unit);
    if (unit.kind() != UnitKind::Area)
        throw model::EngineError(model::kUnitError, "Not an area unit.", "The unit is a linear unit.");
    return unit;
}

}  // namespace

extern "C" {

void KX_Unit_destroy(KX_UnitHandle unit, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] { api::destroy(unit, ClassTag::Unit); });
}

KX_UnitHandle KX_LinearUnit_create(int32_t linear_unit_id, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_UnitHandle>(rec, __func__,
                                       [&] { return new_unit(UnitKind::Linear, linear_unit_id); });
}

KX_UnitHandle KX_AreaUnit_create(int32_t area_unit_id, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_UnitHandle>(rec, __func__,
                                       [&] { return new_unit(UnitKind::Area, area_unit_id); });
}

int32_t KX_AreaUnit_getAreaUnitId(KX_UnitHandle unit, const KX_ErrorCallbackRecord* rec) {
    return api::execute<int32_t>(rec, __func__, [&] { return area_unit(unit).code(); });
}

double KX_AreaUnit_convertFrom(KX_UnitHandle unit, KX_UnitHandle from_unit, double area,
                               const KX_ErrorCallbackRecord* rec) {
    return api::execute<double>(rec, __func__, [&] {
        return area_unit(from_unit).convert_to(area, area_unit(unit));
    });
}

double KX_AreaUnit_convertTo(KX_UnitHandle unit, KX_UnitHandle to_unit, double area, const KX_ErrorCallbackRecord* rec) {
    return api::execute<double>(rec, __func__, [&] {
        return area_unit(unit).convert_to(area, area_unit(to_unit));
    });
}

double KX_AreaUnit_fromSquareMeters(KX_UnitHandle unit, double area, const KX_ErrorCallbackRecord* rec) {
    return api::execute<double>(rec, __func__, [&] { return area_unit(unit).from_base(area); });
}

double KX_AreaUnit_toSquareMeters(KX_UnitHandle unit, double area, const KX_ErrorCallbackRecord* rec) {
    return api::execute<double>(rec, __func__, [&] { return area_unit(unit).to_base(area); });
}

}  // extern "C"
