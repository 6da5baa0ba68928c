// The engine's area-unit codes that the binding accepts back from the engine.
#pragma once

#include <cstdint>

#include "geometry/error.h"

namespace geometry::area_unit_id {

enum class AreaUnitId : uint32_t {
#define KX_UNIT(name, code, size) name = code,
#include "corvane/area_units.def"
#undef KX_UNIT
};

// The code as an AreaUnitId; any other code is the conversion error.
Result<AreaUnitId> try_from(uint32_t code);

}  // namespace geometry::area_unit_id
