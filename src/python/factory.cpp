#include "python/factory.h"

#include <string>

#include "geometry/json_serializable.h"
#include "python/common.h"

namespace vornix::python::factory {

using binding::PyResult;
using binding::Ref;

namespace {

// The keys that choose a dictionary's reader, in the order they are tested: the first key present
// decides, whatever its value, so {"rings": ..., "paths": ...} is a polygon.
struct DictReader {
    const common::Key* key;
    PyResult<Ref> (*read)(PyObject* dict);
};

const DictReader kDictReaders[] = {
    {nullptr, nullptr},
};

PyResult<Ref> from_dict(PyObject* dict) {
    for (const DictReader& reader : kDictReaders) {
        if (reader.key == nullptr) continue;
        PyObject* key = reader.key->object();
        if (key == nullptr) return binding::fail();
        int present = PyDict_Contains(dict, key);
        if (present < 0) return binding::fail();
        if (present == 1) return reader.read(dict);
    }
    Ref repr = Ref::steal(PyObject_Repr(dict));
    if (!repr) return binding::fail();
    return binding::fail(PyExc_ValueError,
                         "Dict missing keys to represent an Vornix geometry: " + binding::text_of(repr.get()));
}

PyResult<Ref> not_convertible(PyObject* object) {
    Ref repr = Ref::steal(PyObject_Repr(object));
    if (!repr) return binding::fail();
    return binding::fail(PyExc_TypeError, "Could not convert object " + binding::text_of(repr.get()) +
                                              " into Vornix geometry.  Geometry factory expects a dict or VeltJSON string");
}

}  // namespace

PyResult<Ref> geometry(PyObject* object) {
    if (PyDict_Check(object)) return from_dict(object);
    auto text = common::get_py_str(object);
    if (!text) return not_convertible(object);
    return not_convertible(object);
}

PyResult<Ref> from_geometry_owned(::geometry::geometry::GeometryOwned geometry) {
    (void)geometry;
    return binding::fail(PyExc_NotImplementedError, "from_geometry_owned");
}

}  // namespace vornix::python::factory
