// The geometry factory behind Geometry(x): the Python object of the matching class for a VeltJSON
// dictionary or text (a SpatialReference for a dictionary of spatial-reference keys only).
#pragma once

#include "python/binding/binding.h"

namespace vornix::python::factory {

// `object` is borrowed; the result is a new object.
binding::PyResult<binding::Ref> geometry(PyObject* object);

}  // namespace vornix::python::factory
