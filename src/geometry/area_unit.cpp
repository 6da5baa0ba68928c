#include "geometry/area_unit.h"

#include "geometry/environment.h"

namespace geometry::area_unit {

Result<AreaUnit> AreaUnit::with_unit_id(int32_t code) {
    environment::init();
    return handle::create<AreaUnit>(ENGINE_CALL(AreaUnit_create, code));
}

area_unit_id::AreaUnitId AreaUnit::area_unit_id() const {
    const int32_t code = call_or_stop(NAMED_ENGINE_CALL(AreaUnit_getAreaUnitId, handle()));
    auto id = area_unit_id::try_from(static_cast<uint32_t>(code));
    if (!id) stop_with("Internal error: Unexpected failure to transform return value", id.error());
    return *id;
}

double AreaUnit::convert_to(const AreaUnit& target, double area) const {
    return call_or_stop(NAMED_ENGINE_CALL(AreaUnit_convertTo, handle(), target.handle(), area));
}

double AreaUnit::convert_from(const AreaUnit& source, double area) const {
    return call_or_stop(NAMED_ENGINE_CALL(AreaUnit_convertFrom, handle(), source.handle(), area));
}

double AreaUnit::to_square_meters(double area) const {
    return call_or_stop(NAMED_ENGINE_CALL(AreaUnit_toSquareMeters, handle(), area));
}

double AreaUnit::from_square_meters(double area) const {
    return call_or_stop(NAMED_ENGINE_CALL(AreaUnit_fromSquareMeters, handle(), area));
}

}  // namespace geometry::area_unit
