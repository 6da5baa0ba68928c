#include "python/core_wrappers/errors.h"

namespace vornix::python {

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

VeltGeoErr cast_geo_err(PyObject* object, std::string_view target) {
    return VeltGeoErr::python_cast(binding::type_qualname(object), target);
}

}  // namespace vornix::python
