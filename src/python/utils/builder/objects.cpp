#include "python/utils/builder/objects.h"

#include "base/fault.h"
#include "python/utils/builder/conversions.h"

namespace vornix::utils::builder {

binding::Ref created(PyObject* object) {
    if (object == nullptr) {
        PyErr_Clear();
        core::stop("Python API call failed");
    }
    return binding::Ref::steal(object);
}

binding::Ref vertex_tuple(double x, double y, std::optional<double> z, std::optional<double> m) {
    const Py_ssize_t size = 2 + (z ? 1 : 0) + (m ? 1 : 0);
    binding::Ref tuple = created(PyTuple_New(size));
    // PyTuple_SET_ITEM takes over each new float.
    PyTuple_SET_ITEM(tuple.get(), 0, created(PyFloat_FromDouble(x)).release());
    PyTuple_SET_ITEM(tuple.get(), 1, created(PyFloat_FromDouble(y)).release());
    Py_ssize_t next = 2;
    if (z) PyTuple_SET_ITEM(tuple.get(), next++, created(PyFloat_FromDouble(*z)).release());
    if (m) PyTuple_SET_ITEM(tuple.get(), next, created(PyFloat_FromDouble(*m)).release());
    return tuple;
}

reader::Status set_item(PyObject* dict, PyObject* key, binding::Ref value) {
    if (PyDict_SetItem(dict, key, value.get()) < 0) return to_geozero_err(binding::PyErr::fetch());
    return {};
}

}  // namespace vornix::utils::builder
