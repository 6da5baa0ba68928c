// The Python objects the builders make. Failing to create one at all (the interpreter is out of
// memory) is a fault; failing to store into one is an ordinary error of the event.
#pragma once

#include <optional>

#include "python/binding/binding.h"
#include "formats/error.h"
#include "formats/processor.h"

namespace vornix::utils::builder {

// Takes over a new reference from the C API; null is a fault.
binding::Ref created(PyObject* object);
// The key's interned str, borrowed (the key keeps it); one that cannot be made is a fault.
PyObject* created(const binding::Interned& key);

// (x, y), (x, y, z), (x, y, m) or (x, y, z, m): nothing marks an m without a z.
binding::Ref vertex_tuple(double x, double y, std::optional<double> z, std::optional<double> m);

// A new list of the run's vertex tuples, each as `vertex_tuple` makes it. The list itself not
// being had is the Python error an append would have met; an item not created is a fault.
binding::PyResult<binding::Ref> vertex_list(const formats::VertexRun& run);

// dict[key] = value.
formats::Status set_item(PyObject* dict, const binding::Interned& key, binding::Ref value);

}  // namespace vornix::utils::builder
