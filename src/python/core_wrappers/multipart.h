// Multipart: the live view of a geometry's straight parts (a polyline's paths, a polygon's rings).
#pragma once

#include "core/geometry/multipart.h"
#include "python/binding/binding.h"

namespace vornix::python {

struct PyMultipart {
    core::geometry::Shared<core::geometry::PartCollection> collection;
    static binding::ClassSpec class_spec();
};

struct PyMultipartIterator {
    core::geometry::Shared<core::geometry::PartCollection> collection;
    uint64_t position = 0;
    static binding::ClassSpec class_spec();
};

// A Multipart object's own collection (shared, dimensions not compared here), or a new collection
// of the given dimensions read from a list of part lists; anything else is TypeError
// "Multipart from_py requires a Multipart or a list".
binding::PyResult<core::geometry::Shared<core::geometry::PartCollection>> multipart_from_py(PyObject* object,
                                                                                            bool has_z, bool has_m);

// New parts read from a list of part lists.
binding::PyResult<std::vector<core::geometry::Shared<core::geometry::VeltPart>>> multipart_input_vec_from_list(
    PyObject* list, bool has_z, bool has_m);

binding::PyResult<binding::Ref> wrap_multipart(core::geometry::Shared<core::geometry::PartCollection> collection);

}  // namespace vornix::python
