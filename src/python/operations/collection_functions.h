// The module's collection functions (`*_collection` and `difference_collection_minus_geom`): the
// per-item maps come from the same rows as their Geometry methods (operations.h), the reductions
// and measures from the families below; the module registers them all in the byte order of their
// names.
#pragma once

#include <vector>

#include "python/binding/binding.h"

namespace vornix::collections {

std::vector<PyMethodDef> reduction_functions();  // the label points and the difference fold
std::vector<PyMethodDef> buffer_functions();     // planar and geodetic buffers

// All of them, sorted by name; the definitions live as long as the process.
std::vector<PyMethodDef>& module_functions();

}  // namespace vornix::collections
