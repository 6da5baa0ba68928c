// The submodule vornix_geometry.projection: projection of collections and datum transformations.
#pragma once

#include "python/binding/binding.h"

namespace vornix::projection {

// Adds the submodule's functions and classes to the new module object `projection_module`. The
// start-up creates the module with its docstring beforehand, and afterwards stores it in
// sys.modules as "vornix_geometry.projection" and adds it to the package.
binding::PyResult<void> populate(PyObject* projection_module);

}  // namespace vornix::projection
