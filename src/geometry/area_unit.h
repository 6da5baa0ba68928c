// The owner of an engine unit of area: conversions between units and to and from square meters.
// Codes go to the engine unchecked; the code the engine reports back must be an AreaUnitId.
#pragma once

#include <cstdint>

#include "geometry/area_unit_id.h"
#include "geometry/handle.h"

namespace geometry::area_unit {

class AreaUnit : public handle::Owner<AreaUnit, &bindings::CorvaneFFI::KX_Unit_destroy, "AreaUnit", "Unit"> {
public:
    using BasicOwner::BasicOwner;

    static Result<AreaUnit> with_unit_id(int32_t code);

    area_unit_id::AreaUnitId area_unit_id() const;
    // The area, given in this unit, expressed in `target`.
    double convert_to(const AreaUnit& target, double area) const;
    // The area, given in `source`, expressed in this unit.
    double convert_from(const AreaUnit& source, double area) const;
    double to_square_meters(double area) const;
    double from_square_meters(double area) const;
};

}  // namespace geometry::area_unit
