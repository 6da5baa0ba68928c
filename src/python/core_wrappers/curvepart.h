// CurvePart: the live view of one curved part. Its first vertex never carries a curve: the view
// stores only plain vertex lists at position 0 and leaves the removal rule to the model. A new
// value is converted with no lock held (its conversion runs Python code and, for an arc about a
// centre, the engine), then the position is checked again under the lock before the store.
#pragma once

#include <cstdint>

#include "core/geometry/curvepart.h"
#include "core/geometry/shared.h"
#include "python/binding/binding.h"

namespace vornix::python {

struct PyCurvePart {
    core::geometry::Shared<core::geometry::VeltCurvePart> part;
    static binding::ClassSpec class_spec();
};

struct PyCurvePartIterator {
    core::geometry::Shared<core::geometry::VeltCurvePart> part;
    uint64_t position = 0;
    static binding::ClassSpec class_spec();
};

// A CurvePart object's own cell, or a new curve part read from a list; anything else is TypeError
// "CurvePart from_py requires a Part or a list".
binding::PyResult<core::geometry::Shared<core::geometry::VeltCurvePart>> curve_part_from_py(PyObject* object,
                                                                                            bool has_z, bool has_m);

// A new curve part: the first item a plain vertex list, every later one a list or curve dictionary.
binding::PyResult<core::geometry::Shared<core::geometry::VeltCurvePart>> curve_part_from_list(PyObject* list,
                                                                                              bool has_z, bool has_m);

binding::PyResult<binding::Ref> wrap_curve_part(core::geometry::Shared<core::geometry::VeltCurvePart> part);

}  // namespace vornix::python
