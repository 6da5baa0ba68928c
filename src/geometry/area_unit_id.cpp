#include "geometry/area_unit_id.h"

namespace geometry::area_unit_id {

Result<AreaUnitId> try_from(uint32_t code) {
    switch (static_cast<AreaUnitId>(code)) {
        case AreaUnitId::Other:
        case AreaUnitId::Hectares:
        case AreaUnitId::Acres:
        case AreaUnitId::SquareMeters:
        case AreaUnitId::SquareFeet:
        case AreaUnitId::SquareKilometers:
        case AreaUnitId::SquareMiles:
        case AreaUnitId::SquareYards:
        case AreaUnitId::SquareDecimeters:
        case AreaUnitId::SquareCentimeters:
        case AreaUnitId::SquareMillimeters:
            return static_cast<AreaUnitId>(code);
    }
    return std::unexpected(Error::new_conversion_error("bindings::KX_AreaUnitId", "AreaUnitId"));
}

}  // namespace geometry::area_unit_id
