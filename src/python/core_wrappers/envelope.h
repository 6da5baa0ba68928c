// Envelope: x, y, z and m bounds with two optional ids, over a shared model envelope. No relation
// between the fields is enforced; each setter writes one field.
#pragma once

#include "core/geometry/envelope.h"
#include "core/geometry/shared.h"
#include "python/core_wrappers/geometry.h"

namespace vornix::python {

struct PyEnvelope : PyGeometry {
    using Model = core::geometry::VeltGeometryEnvelope;
    core::geometry::Shared<Model> model;

    static binding::ClassSpec class_spec();
    // An Envelope shares its model; a dict is read into a new one.
    static binding::PyResult<PyEnvelope> from_py(PyObject* object);
    static binding::PyResult<PyEnvelope> from_dict(PyObject* dict);
    // The model of an engine result; its spatial reference as `sr` says.
    static binding::PyResult<PyEnvelope> from_geom(::geometry::envelope::Envelope envelope, const core::geometry::ResultSr& sr = {});
    core::geometry::GeoResult<::geometry::envelope::Envelope> get_geom() const;
};

}  // namespace vornix::python
