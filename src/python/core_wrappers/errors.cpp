#include "python/core_wrappers/errors.h"

namespace vornix::python {

namespace {

void release_exception(void* object) { Py_XDECREF(static_cast<PyObject*>(object)); }

// The interpreter's repr() of the exception, for the error's display text.
std::string debug_text(PyObject* exception) {
    binding::Ref repr = binding::Ref::steal(PyObject_Repr(exception));
    if (!repr) {
        PyErr_Clear();
        return binding::type_qualname(exception);
    }
    return binding::text_of(repr.get());
}

}  // namespace

binding::PyErr to_py_err(VeltGeoErr error) {
    if (error.raise() == core::geometry::PythonRaise::Carried) {
        if (auto* carried = static_cast<PyObject*>(error.take_python_error())) {
            // Set it as the current exception and fetch it back: the same object, traceback kept.
            PyErr_Restore(Py_NewRef(reinterpret_cast<PyObject*>(Py_TYPE(carried))), carried,
                          PyException_GetTraceback(carried));
            return binding::PyErr::fetch();
        }
    }
    return binding::PyErr::new_err(PyExc_Exception, error.display());
}

VeltGeoErr from_py_err(binding::PyErr error) {
    PyObject* exception = Py_NewRef(error.value());
    std::string text = debug_text(exception);
    return VeltGeoErr::pyo3(core::geometry::PythonError(exception, &release_exception, std::move(text)));
}

VeltGeoErr cast_geo_err(PyObject* object, std::string_view target) {
    return VeltGeoErr::python_cast(binding::type_qualname(object), target);
}

}  // namespace vornix::python
