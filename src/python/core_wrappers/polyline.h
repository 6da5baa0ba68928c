// Polyline: a thin face over one shared model polyline. Its paths and curve paths are live views of
// the model's collections; everything else it returns is a copy.
#pragma once

#include "core/geometry/polyline.h"
#include "python/core_wrappers/geometry.h"

namespace vornix::python {

struct PyPolyline : PyGeometry {
    using Model = core::geometry::VeltGeometryPolyline;
    core::geometry::Shared<Model> model;
    static binding::ClassSpec class_spec();

    // Entry points for the factory, the other geometry classes and the operations.
    static binding::PyResult<PyPolyline> from_dict(PyObject* dict);
    // The model of an engine result; its spatial reference as `sr` says.
    static binding::PyResult<PyPolyline> from_geom(::geometry::polyline::Polyline polyline, const core::geometry::ResultSr& sr = {});
    static core::geometry::GeoResult<::geometry::polyline::Polyline> get_geom(const PyPolyline& self);
};

// A new Polyline object (of the base class) holding the value.
binding::PyResult<binding::Ref> wrap_polyline(PyPolyline polyline);

}  // namespace vornix::python
