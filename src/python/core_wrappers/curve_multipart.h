// CurveMultipart: the live view of a geometry's curved parts (curve paths, curve rings). It has no
// iterator of its own: Python iterates it through item reading until the first IndexError.
#pragma once

#include "core/geometry/multipart.h"
#include "python/binding/binding.h"

namespace vornix::python {

struct PyCurveMultipart {
    core::geometry::Shared<core::geometry::CurvePartCollection> collection;
    static binding::ClassSpec class_spec();
};

// As multipart_from_py, for a CurveMultipart object or a list of curve part lists.
binding::PyResult<core::geometry::Shared<core::geometry::CurvePartCollection>> curve_multipart_from_py(
    PyObject* object, bool has_z, bool has_m);

binding::PyResult<std::vector<core::geometry::Shared<core::geometry::VeltCurvePart>>>
curve_multipart_input_vec_from_list(PyObject* list, bool has_z, bool has_m);

binding::PyResult<binding::Ref> wrap_curve_multipart(
    core::geometry::Shared<core::geometry::CurvePartCollection> collection);

}  // namespace vornix::python
