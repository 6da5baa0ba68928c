// The item protocol of the views: obj[key] and obj[key] = value as mapping slots, and the same
// two as sequence slots, so that the interpreter's sequence iteration, list() and membership test
// work on a view through its item reading (a view without __iter__ iterates until the IndexError
// of the first position past the end).
#pragma once

#include "python/binding/binding.h"

namespace vornix::python {

namespace detail {

template <auto Get>
PyObject* sequence_get(PyObject* self, Py_ssize_t index) {
    binding::Ref key = binding::Ref::steal(PyLong_FromSsize_t(index));
    if (!key) return nullptr;
    return PyObject_GetItem(self, key.get());
}

template <auto Set>
int sequence_set(PyObject* self, Py_ssize_t index, PyObject* value) {
    binding::Ref key = binding::Ref::steal(PyLong_FromSsize_t(index));
    if (!key) return -1;
    return Py_TYPE(self)->tp_as_mapping->mp_ass_subscript(self, key.get(), value);
}

}  // namespace detail

// obj[key]: Get(self, PyObject* key).
template <auto Get>
std::vector<PyType_Slot> item_get_slots() {
    return {binding::get_item_slot<Get>(),
            {Py_sq_item, reinterpret_cast<void*>(&detail::sequence_get<Get>)}};
}

// obj[key] = value: Set(self, PyObject* key, PyObject* value); deleting an item is refused.
template <auto Set>
std::vector<PyType_Slot> item_set_slots() {
    return {binding::set_item_slot<Set>(),
            {Py_sq_ass_item, reinterpret_cast<void*>(&detail::sequence_set<Set>)}};
}

// Properties whose value converts as the argument `value_name` ("val", "_value") rather than as
// the property's own name: the setter reads its argument name from the closure.
template <auto Get, auto Set>
PyGetSetDef named_property(const char* name, const char* value_name) {
    PyGetSetDef def = binding::property<Get, Set>(name);
    def.closure = const_cast<char*>(value_name);
    return def;
}
template <auto Set>
PyGetSetDef named_setter(const char* name, const char* value_name) {
    PyGetSetDef def = binding::setter<Set>(name);
    def.closure = const_cast<char*>(value_name);
    return def;
}

// Slot lists joined, for class specs built from several protocols.
inline std::vector<PyType_Slot> join(std::initializer_list<std::vector<PyType_Slot>> lists) {
    std::vector<PyType_Slot> all;
    for (const auto& list : lists) all.insert(all.end(), list.begin(), list.end());
    return all;
}

}  // namespace vornix::python
