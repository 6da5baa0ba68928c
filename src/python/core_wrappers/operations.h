// The engine-backed members of Geometry, one group per file, gathered into the class's tables.
#pragma once

#include <vector>

#include "python/binding/binding.h"

namespace vornix::python::operations {

std::vector<PyMethodDef> relation_methods();
std::vector<PyMethodDef> overlay_methods();
std::vector<PyMethodDef> transform_methods();
std::vector<PyMethodDef> measure_methods();
std::vector<PyGetSetDef> measure_properties();
std::vector<PyMethodDef> extent_methods();
std::vector<PyGetSetDef> extent_properties();

}  // namespace vornix::python::operations
