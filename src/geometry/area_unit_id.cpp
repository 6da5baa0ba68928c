#include "geometry/area_unit_id.h"

namespace geometry::area_unit_id {

Result<AreaUnitId> try_from(uint32_t code) {
    switch (static_cast<AreaUnitId>(code)) {
#define KX_UNIT(name, value, size) case AreaUnitId::name:
#include "corvane/area_units.def"
#undef KX_UNIT
            return static_cast<AreaUnitId>(code);
    }
    return std::unexpected(Error::new_conversion_error("bindings::KX_AreaUnitId", "AreaUnitId"));
}

}  // namespace geometry::area_unit_id
