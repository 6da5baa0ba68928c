// The engine-backed members of Geometry, one group per file; the module adds them to the class.
#pragma once

#include <vector>

#include "geometry/geometry_engine.h"
#include "python/binding/binding.h"

namespace vornix::python::operations {

std::vector<PyMethodDef> relation_methods();
std::vector<PyMethodDef> overlay_methods();
std::vector<PyMethodDef> transform_methods();
std::vector<PyMethodDef> measure_methods();
std::vector<PyGetSetDef> measure_properties();
std::vector<PyMethodDef> extent_methods();
std::vector<PyGetSetDef> extent_properties();
std::vector<PyMethodDef> collection_methods();

// The module's collection functions made from the same rows as the methods above.
std::vector<PyMethodDef> relation_functions();
std::vector<PyMethodDef> overlay_functions();
std::vector<PyMethodDef> transform_functions();
std::vector<PyMethodDef> measure_functions();
std::vector<PyMethodDef> extent_functions();
// The projection submodule's two collection functions, made from the rows of Geometry.project and
// Geometry.project_with_transformation.
std::vector<PyMethodDef> projection_functions();

// All of the methods and properties above in that order, as the module adds them to Geometry.
std::vector<PyMethodDef> geometry_methods();
std::vector<PyGetSetDef> geometry_properties();

}  // namespace vornix::python::operations
