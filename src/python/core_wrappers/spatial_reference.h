// SpatialReference: a Python object owning one model spatial reference record by value. Nothing
// is shared: construction and every hand-over copy the record.
#pragma once

#include "core/geometry/spatial_reference.h"
#include "python/binding/binding.h"

namespace vornix::python {

struct PySpatialReference {
    core::geometry::SpatialReference sr;
    static binding::ClassSpec class_spec();
};

// A SpatialReference object's record (copied) or a dict's; anything else is TypeError
// "SpatialReference from_py expects a SpatialReference object or a dict".
binding::PyResult<core::geometry::SpatialReference> spatial_reference_from_py(PyObject* object);

// The engine spatial reference for any accepted value; a record without wkid, latest_wkid and wkt
// is ValueError "Failed to convert {} into a geometry engine spatial reference".
binding::PyResult<::geometry::spatial_reference::SpatialReference> geom_sr_from_py(PyObject* object);

binding::PyResult<binding::Ref> wrap_spatial_reference(core::geometry::SpatialReference sr);

}  // namespace vornix::python
