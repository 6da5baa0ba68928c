// The owner of an engine unit of length. Codes go to the engine unchecked.
#pragma once

#include <cstdint>

#include "geometry/handle.h"

namespace geometry::linear_unit {

class LinearUnit
    : public handle::Owner<LinearUnit, &bindings::CorvaneFFI::KX_Unit_destroy, "LinearUnit", "Unit"> {
public:
    using BasicOwner::BasicOwner;

    static Result<LinearUnit> with_unit_id(int32_t code);
};

}  // namespace geometry::linear_unit
