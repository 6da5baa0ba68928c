// PanicException: what a fault (core::Fault) or any other C++ exception becomes in Python. It
// derives from BaseException, so that `except Exception` does not swallow an internal error, and
// keeps the qualified name `pyo3_runtime.PanicException` that callers already catch.
#pragma once

#include <string_view>

#include "python/binding/py_err.h"

namespace binding {

// The exception type, created once per process on first use; a borrowed reference, or null with
// an exception set.
PyObject* panic_exception_type();

// A PanicException carrying `message`.
PyErr panic(std::string_view message);

}  // namespace binding
