// The one place that chooses the Python class of a geometry that does not arrive as an object of
// the module's classes: from a VeltJSON dictionary or text (`Geometry(x)`, and every operation
// argument that is not a Geometry), or from an engine geometry returned by an operation.
#pragma once

#include "core/geometry/result_sr.h"
#include "geometry/geometry.h"
#include "python/binding/binding.h"

namespace vornix::python::factory {

// A new object of Point, MultiPoint, Polyline, Polygon or Envelope (or SpatialReference, for a
// dictionary selected by "wkid", "wkt" or "latestWkt") from a dict, str or bytes.
binding::PyResult<binding::Ref> geometry(PyObject* object);

// A new object of the class the engine's type code names, its spatial reference as `sr` says; the
// geometry is always consumed. An engine error on the type query, or a code outside the known ones,
// is a fault.
binding::PyResult<binding::Ref> from_geometry_owned(::geometry::geometry::GeometryOwned geometry,
                                                    const core::geometry::ResultSr& sr = {});

}  // namespace vornix::python::factory
