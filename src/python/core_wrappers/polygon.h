// Polygon: straight and curved rings over one shared model polygon. `rings` and `curve_rings` are
// live views of the model's own collections; assigning one installs a collection wholesale.
#pragma once

#include "core/geometry/polygon.h"
#include "core/geometry/shared.h"
#include "python/core_wrappers/geometry.h"

namespace vornix::python {

struct PyPolygon : PyGeometry {
    using Model = core::geometry::VeltGeometryPolygon;
    core::geometry::Shared<Model> model;

    static binding::ClassSpec class_spec();
    // "hasZ", "hasM", "rings", "curveRings", "spatialReference", then the ring rules.
    static binding::PyResult<PyPolygon> from_dict(PyObject* dict);
    // The model of an engine result; its spatial reference as `sr` says.
    static binding::PyResult<PyPolygon> from_geom(::geometry::polygon::Polygon polygon, const core::geometry::ResultSr& sr = {});
};

}  // namespace vornix::python
