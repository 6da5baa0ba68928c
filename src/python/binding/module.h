// Adding names to a module. Every addition also appends the name to the module's `__all__`
// (created on the first addition; an existing `__all__` that is not a list is a cast error).
#pragma once

#include "python/binding/class.h"

namespace binding {

// Appends `name` to __all__, then sets the attribute.
PyResult<void> add(PyObject* module, const char* name, Ref value);

// A module function; `def` must outlive the module (a static table).
PyResult<void> add_function(PyObject* module, PyMethodDef& def);

// A type object under its own __name__.
PyResult<void> add_type(PyObject* module, PyTypeObject* type);

// A bound class, created with its base first, under its own name.
template <typename T>
PyResult<void> add_class(PyObject* module) {
    auto type = Type<T>::get();
    if (!type) return fail(std::move(type.error()));
    return add_type(module, *type);
}

// A new module object named `name` (its own name, without the package) with a docstring.
PyResult<Ref> new_module(const char* name, const char* doc);

// Stores `module` in sys.modules under `key` ("vornix_geometry.utils").
PyResult<void> insert_into_sys_modules(const char* key, PyObject* module);

// Adds `submodule` to `parent` under the submodule's own __name__.
PyResult<void> add_submodule(PyObject* parent, PyObject* submodule);

}  // namespace binding
