// GeometryExtendOptions: the flag word of the engine's extend operation, combined with |, & and ~.
// Integers never mix with it.
#pragma once

#include <cstdint>

#include "python/binding/binding.h"

namespace vornix::python {

struct PyGeometryExtendOptions {
    uint32_t flags;
    static binding::ClassSpec class_spec();
};

// The class with its six members set as class attributes, added to the module.
binding::PyResult<void> add_geometry_extend_options(PyObject* module);

}  // namespace vornix::python
