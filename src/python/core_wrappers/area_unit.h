// AreaUnit: owns one engine unit of area (never shared: a clone asks the engine for a new one) and
// converts areas through it.
#pragma once

#include "geometry/area_unit.h"
#include "python/binding/binding.h"

namespace vornix::python {

struct PyAreaUnit {
    ::geometry::area_unit::AreaUnit unit;
    static binding::ClassSpec class_spec();

    // A new unit for the code; an engine refusal is RuntimeError with the engine error's record form.
    static binding::PyResult<PyAreaUnit> new_from_unit_id(int32_t code);
    binding::PyResult<PyAreaUnit> try_clone() const;
};

}  // namespace vornix::python
