#include "python/binding/convert.h"

namespace binding {

PyResult<double> FromPy<double>::convert(PyObject* object) {
    if (PyFloat_CheckExact(object)) return PyFloat_AS_DOUBLE(object);
    double value = PyFloat_AsDouble(object);
    if (value == -1.0 && PyErr_Occurred()) return fail();
    return value;
}

namespace detail {

PyResult<long> as_c_long(PyObject* object) {
    long value = PyLong_AsLong(object);
    if (value == -1 && PyErr_Occurred()) return fail();
    return value;
}

std::unexpected<PyErr> out_of_range() {
    return fail(PyExc_OverflowError, "out of range integral type conversion attempted");
}

}  // namespace detail

PyResult<uint64_t> FromPy<uint64_t>::convert(PyObject* object) {
    // PyLong_AsUnsignedLongLong does not call __index__ itself.
    auto index = checked(PyNumber_Index(object));
    if (!index) return fail(std::move(index.error()));
    unsigned long long value = PyLong_AsUnsignedLongLong(index->get());
    if (value == static_cast<unsigned long long>(-1) && PyErr_Occurred()) return fail();
    return uint64_t(value);
}

namespace {

bool is_numpy_bool(PyObject* object) {
    PyTypeObject* type = Py_TYPE(object);
    Ref module = Ref::steal(PyObject_GetAttrString(reinterpret_cast<PyObject*>(type), "__module__"));
    Ref name = Ref::steal(PyType_GetName(type));
    if (!module || !name) {
        PyErr_Clear();
        return false;
    }
    return PyUnicode_Check(module.get()) && PyUnicode_CompareWithASCIIString(module.get(), "numpy") == 0 &&
           (PyUnicode_CompareWithASCIIString(name.get(), "bool_") == 0 ||
            PyUnicode_CompareWithASCIIString(name.get(), "bool") == 0);
}

}  // namespace

PyResult<bool> FromPy<bool>::convert(PyObject* object) {
    if (PyBool_Check(object)) return object == Py_True;
    if (is_numpy_bool(object)) {
        int truth = PyObject_IsTrue(object);
        if (truth < 0) return fail();
        return truth == 1;
    }
    return fail(cast_error(object, "bool"));
}

PyResult<std::string_view> FromPy<std::string_view>::convert(PyObject* object) {
    if (!PyUnicode_Check(object)) return fail(cast_error(object, "str"));
    Py_ssize_t size = 0;
    const char* data = PyUnicode_AsUTF8AndSize(object, &size);
    if (data == nullptr) return fail();
    return std::string_view(data, size_t(size));
}

PyResult<Bytes> FromPy<Bytes>::convert(PyObject* object) {
    if (!PyBytes_Check(object)) return fail(cast_error(object, "bytes"));
    auto* data = reinterpret_cast<const uint8_t*>(PyBytes_AS_STRING(object));
    return Bytes{std::span<const uint8_t>(data, size_t(PyBytes_GET_SIZE(object)))};
}

PyErr argument_error(std::string_view name, PyErr error) {
    if (!error.is_exactly(PyExc_TypeError)) return error;
    PyErr renamed = PyErr::new_err(PyExc_TypeError, "argument '" + std::string(name) + "': " + error.text());
    if (PyObject* cause = PyException_GetCause(error.value())) PyException_SetCause(renamed.value(), cause);
    return renamed;
}

PyResult<Ref> into_py(double value) { return checked(PyFloat_FromDouble(value)); }
PyResult<Ref> into_py(bool value) { return Ref::borrow(value ? Py_True : Py_False); }
PyResult<Ref> into_py(long long value) { return checked(PyLong_FromLongLong(value)); }
PyResult<Ref> into_py(unsigned long long value) { return checked(PyLong_FromUnsignedLongLong(value)); }
PyResult<Ref> into_py(std::string_view text) { return str_from_utf8(text); }
PyResult<Ref> into_py(std::monostate) { return Ref::borrow(Py_None); }

}  // namespace binding
