// Point: one position with optional z and m, over a shared model point. Point(p) shares p's
// model, so every object made that way sees each change.
#pragma once

#include "core/geometry/point.h"
#include "core/geometry/shared.h"
#include "python/core_wrappers/geometry.h"

namespace vornix::python {

struct PyPoint : PyGeometry {
    using Model = core::geometry::VeltGeometryPoint;
    core::geometry::Shared<Model> model;

    static binding::ClassSpec class_spec();
    // The point layout of a VeltJSON dictionary: "x", "y", "z", "m", "spatialReference".
    static binding::PyResult<PyPoint> from_dict(PyObject* dict);
    // The model of an engine result; its spatial reference as `sr` says.
    static binding::PyResult<PyPoint> from_geom(::geometry::point::Point point, const core::geometry::ResultSr& sr = {});
    // A new engine point of the model, for operations that take a point argument.
    core::geometry::GeoResult<::geometry::point::Point> get_geom() const;
};

}  // namespace vornix::python
