// The batch buffers of whole collections, planar and geodetic: what Geometry.buffer_collection and
// the module's buffer_collection both run (sliced_buffers over one engine call each), returning
// the list of polygons.
#pragma once

#include <cstdint>

#include "geometry/linear_unit.h"
#include "python/operations/iterable_adapter.h"

namespace vornix::python::collections {

// Distances in the units of the spatial reference.
PyResult<Ref> planar_buffers(PyObject* geometries, PyObject* distances, bool union_result);

// Distances and `max_deviation` in `unit`, segments along the curve type `curve_type`.
PyResult<Ref> geodetic_buffers(PyObject* geometries, PyObject* distances, bool union_result,
                               const ::geometry::linear_unit::LinearUnit& unit, int32_t curve_type,
                               double max_deviation);

}  // namespace vornix::python::collections
