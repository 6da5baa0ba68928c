// The engine's area-unit codes that the binding accepts back from the engine.
#pragma once

#include <cstdint>

#include "geometry/error.h"

namespace geometry::area_unit_id {

enum class AreaUnitId : uint32_t {
    Other = 0,
    Hectares = 109401,
    Acres = 109402,
    SquareMeters = 109404,
    SquareFeet = 109405,
    SquareKilometers = 109414,
    SquareMiles = 109439,
    SquareYards = 109442,
    SquareDecimeters = 109450,
    SquareCentimeters = 109451,
    SquareMillimeters = 109452,
};

// The code as an AreaUnitId; any other code is the conversion error.
Result<AreaUnitId> try_from(uint32_t code);

}  // namespace geometry::area_unit_id
