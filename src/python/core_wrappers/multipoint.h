// MultiPoint: ordered points sharing one spatial reference and one set of dimensions. The points
// live in one shared part that `points` hands out as a live Part view.
#pragma once

#include "core/geometry/multipoint.h"
#include "core/geometry/shared.h"
#include "python/core_wrappers/geometry.h"

namespace vornix::python {

struct PyMultiPoint : PyGeometry {
    using Model = core::geometry::VeltGeometryMultipoint;
    core::geometry::Shared<Model> model;

    static binding::ClassSpec class_spec();
    // "points" (required), "hasZ", "hasM", "spatialReference".
    static binding::PyResult<PyMultiPoint> from_dict(PyObject* dict);
    // The model of an engine result; its spatial reference as `sr` says.
    static binding::PyResult<PyMultiPoint> from_geom(::geometry::multipoint::Multipoint multipoint, const core::geometry::ResultSr& sr = {});
};

}  // namespace vornix::python
