#include "python/binding/py_err.h"

#include "base/kept_texts.h"

namespace binding {

PyErr PyErr::fetch() {
    PyObject *type = nullptr, *value = nullptr, *traceback = nullptr;
    PyErr_Fetch(&type, &value, &traceback);
    if (type == nullptr) return new_err(PyExc_SystemError, "error return without exception set");
    PyErr_NormalizeException(&type, &value, &traceback);
    if (traceback != nullptr) PyException_SetTraceback(value, traceback);
    Py_XDECREF(type);
    Py_XDECREF(traceback);
    return PyErr(Ref::steal(value));
}

PyErr PyErr::new_err(PyObject* type, std::string_view message) {
    Ref text = Ref::steal(PyUnicode_DecodeUTF8(message.data(), Py_ssize_t(message.size()), "replace"));
    if (!text) return fetch();
    Ref value = Ref::steal(PyObject_CallOneArg(type, text.get()));
    if (!value) return fetch();
    return PyErr(std::move(value));
}

bool PyErr::is_exactly(PyObject* type) const noexcept {
    return reinterpret_cast<PyObject*>(Py_TYPE(value_.get())) == type;
}

std::string PyErr::text() const { return text_of(value_.get()); }

void PyErr::restore() && {
    PyObject* value = value_.release();
    PyObject* type = Py_NewRef(reinterpret_cast<PyObject*>(Py_TYPE(value)));
    PyErr_Restore(type, value, PyException_GetTraceback(value));
}

PyResult<Ref> checked(PyObject* new_reference) {
    if (new_reference == nullptr) return fail();
    return Ref::steal(new_reference);
}

std::string type_qualname(PyObject* object) {
    Ref name = Ref::steal(PyType_GetQualName(Py_TYPE(object)));
    if (!name) {
        PyErr_Clear();
        return Py_TYPE(object)->tp_name;
    }
    return text_of(name.get());
}

std::string cast_text(PyObject* object, std::string_view target) {
    return core::kept_texts::cast_text(type_qualname(object), target);
}

PyErr cast_error(PyObject* object, std::string_view target) {
    return PyErr::new_err(PyExc_TypeError, cast_text(object, target));
}

std::string text_of(PyObject* object) {
    Ref text = Ref::steal(PyObject_Str(object));
    if (!text) {
        PyErr_Clear();
        return "<unprintable object>";
    }
    Ref bytes = Ref::steal(PyUnicode_AsEncodedString(text.get(), "utf-8", "replace"));
    if (!bytes) {
        PyErr_Clear();
        return "<unprintable object>";
    }
    return std::string(PyBytes_AS_STRING(bytes.get()), size_t(PyBytes_GET_SIZE(bytes.get())));
}

PyResult<Ref> str_from_utf8(std::string_view text) {
    return checked(PyUnicode_DecodeUTF8(text.data(), Py_ssize_t(text.size()), "replace"));
}

}  // namespace binding
