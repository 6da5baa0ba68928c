// Text from Python on its way to a C string: a NUL in it is the caller's error, raised before
// anything is sent.
#pragma once

#include <string_view>

#include "python/binding/py_err.h"

namespace binding {

// ValueError "<what> holds a NUL character at position <n>." when `text` (the UTF-8 of a str, or
// the bytes of any other object) holds a NUL, n counted as the caller indexes `text_object`: in
// characters of a str, in bytes otherwise.
PyResult<void> refuse_nul(PyObject* text_object, std::string_view text, std::string_view what);

}  // namespace binding
