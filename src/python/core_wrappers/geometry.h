// Geometry, the base class of every Python geometry, and the protocol by which any geometry object
// hands an operation a fresh engine geometry: its __kxc_geo() returns a one-shot KXCGeo holder,
// and geom_from_pyobj takes the engine geometry out of it.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "base/poison_mutex.h"
#include "core/geometry/spatial_reference.h"
#include "geometry/geometry.h"
#include "python/binding/binding.h"

namespace vornix::python {

// The base class holds no data; subclasses derive their values from it so that the class tree of
// the Python types is mirrored in C++.
struct PyGeometry {
    static binding::ClassSpec class_spec();
};

// A full holder after creation, empty after the one take.
struct KXCGeo {
    std::unique_ptr<core::PoisonMutex<std::optional<::geometry::geometry::GeometryOwned>>> geometry;
    static binding::ClassSpec class_spec();
};

// A new KXCGeo holding `geometry`; when the object cannot be made the geometry is destroyed.
binding::PyResult<binding::Ref> new_kxc_geo(::geometry::geometry::GeometryOwned geometry);

// The owned engine geometry of any Python object: a Geometry's own, or the one the factory builds
// from a dictionary or text. A call converting many objects passes its memo of engine spatial
// references (used where the model is converted here, not through Python's __kxc_geo).
binding::PyResult<::geometry::geometry::GeometryOwned> geom_from_pyobj(PyObject* object,
                                                                       core::geometry::EngineSrMemo* memo = nullptr);

// A hint that the model of `object` (one of the module's own classes) is converted soon: its memory
// is asked into the cache, so that the conversion does not wait on it. The cells of a geometry's
// parts and collections are made just before its own cell, so the stretch below that cell is asked
// for too. Nothing is read or locked there; for any other object nothing happens. The object
// itself must be a live one (it is read).
void prefetch_model(PyObject* object);

// The engine-backed methods and properties of Geometry, which live with the operations above the
// classes: the module hands them over before the Geometry type is first made (a later call stops).
// A repeated call replaces what an earlier one gave.
void set_operation_members(std::vector<PyMethodDef> methods, std::vector<PyGetSetDef> getsets);

// The constructor of Geometry: Geometry(x) is the factory's object for x.
PyObject* geom_factory_new(PyTypeObject* type, PyObject* args, PyObject* kwargs);

// The Geometry type object, borrowed.
binding::PyResult<PyTypeObject*> geometry_type();

}  // namespace vornix::python
