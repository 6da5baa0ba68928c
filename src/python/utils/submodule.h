// The submodule vornix_geometry.utils: WKT, WKB and EWKB to GeoJSON and VeltJSON dictionaries,
// and the orientation of a ring.
#pragma once

#include "python/binding/binding.h"

namespace vornix::utils {

// Adds the submodule's functions (each also appended to its __all__) to the new module object
// `utils_module`. The start-up creates the module with its docstring beforehand, and afterwards
// stores it in sys.modules as "vornix_geometry.utils" and adds it to the package.
binding::PyResult<void> populate(PyObject* utils_module);

}  // namespace vornix::utils
