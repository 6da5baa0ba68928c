#include "python/binding/panic.h"

#include "base/kept_texts.h"

namespace binding {

PyObject* panic_exception_type() {
    // Created under the interpreter lock and kept for the life of the process; a failed creation
    // leaves the slot empty so that the next use tries again.
    static PyObject* type = nullptr;
    if (type == nullptr) {
        type = PyErr_NewExceptionWithDoc(
            core::kept_texts::panic_exception,
            "The exception raised when an internal error stops a call.\n\n"
            "Like SystemExit, it derives from BaseException, so that catching Exception does not "
            "hide it.",
            PyExc_BaseException, nullptr);
    }
    return type;
}

PyErr panic(std::string_view message) {
    PyObject* type = panic_exception_type();
    if (type == nullptr) return PyErr::fetch();
    return PyErr::new_err(type, message);
}

}  // namespace binding
