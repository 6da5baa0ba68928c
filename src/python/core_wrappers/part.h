// Part: the live view of one straight part (a path, a ring, a multipoint's points). It holds the
// part's shared cell itself, so every change through it is a change of every geometry holding
// that part. Values are converted before the part is locked; Coord objects are made after.
#pragma once

#include <cstdint>

#include "core/geometry/part.h"
#include "core/geometry/shared.h"
#include "python/binding/binding.h"

namespace vornix::python {

struct PyPart {
    core::geometry::Shared<core::geometry::VeltPart> part;
    static binding::ClassSpec class_spec();
};

struct PyPartIterator {
    core::geometry::Shared<core::geometry::VeltPart> part;
    uint64_t position = 0;
    static binding::ClassSpec class_spec();
};

// A Part object's own cell (shared, dimensions not compared), or a new part read from a list with
// the given dimensions; anything else is TypeError "Part from_py requires a Part or a list".
binding::PyResult<core::geometry::Shared<core::geometry::VeltPart>> part_from_py(PyObject* object, bool has_z,
                                                                                 bool has_m);

// A new part of one vertex per coordinate list of `list`.
binding::PyResult<core::geometry::Shared<core::geometry::VeltPart>> part_from_list(PyObject* list, bool has_z,
                                                                                   bool has_m);

// A new Part view over the cell.
binding::PyResult<binding::Ref> wrap_part(core::geometry::Shared<core::geometry::VeltPart> part);

}  // namespace vornix::python
