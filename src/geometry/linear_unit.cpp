#include "geometry/linear_unit.h"

#include "geometry/environment.h"

namespace geometry::linear_unit {

Result<LinearUnit> LinearUnit::with_unit_id(int32_t code) {
    environment::init();
    return handle::create<LinearUnit>(ENGINE_CALL(LinearUnit_create, code));
}

}  // namespace geometry::linear_unit
