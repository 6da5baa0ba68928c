// The errors the builders report to the readers, and the list form of a sequence. Every error
// is a geometry error, shown as "processing geometry `<text>`".
#pragma once

#include <string_view>

#include "python/binding/binding.h"
#include "formats/error.h"

namespace vornix::utils::builder {

// "<exception type qualname>: <str(exception)>", or "<qualname>: <exception str() failed>".
formats::Error to_geozero_err(const binding::PyErr& error);
formats::Error to_geozero_err(std::string_view text);
// "'<type qualname of object>' object cannot be cast as '<target>'".
formats::Error to_geozero_err(PyObject* object, std::string_view target);

// The outcome of a Python operation as the outcome of an event.
formats::Status convert_result(const binding::PyResult<void>& result);

// A list itself, a new list of the items of a tuple or other sequence, or TypeError
// "Expected a list or sequence".
binding::PyResult<binding::Ref> as_list(PyObject* object);

}  // namespace vornix::utils::builder
