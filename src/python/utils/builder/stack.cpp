#include "python/utils/builder/stack.h"

#include "python/utils/builder/conversions.h"
#include "python/utils/builder/objects.h"

namespace vornix::utils::builder {

formats::Status ObjectStack::pop(binding::Ref& top) {
    if (entries_.empty()) return to_geozero_err(empty_stack_text);
    top = std::move(entries_.back());
    entries_.pop_back();
    return {};
}

formats::Status ObjectStack::parent_list(PyObject*& parent, std::string_view empty_text) const {
    if (entries_.empty()) return to_geozero_err(empty_text);
    parent = entries_.back().get();
    if (!PyList_Check(parent)) return to_geozero_err(parent, "list");
    return {};
}

formats::Status ObjectStack::push_to_parent(binding::Ref object, std::string_view empty_text) {
    PyObject* parent = nullptr;
    if (auto s = parent_list(parent, empty_text); !s) return s;
    if (PyList_Append(parent, object.get()) < 0) return to_geozero_err(binding::PyErr::fetch());
    return {};
}

formats::Status ObjectStack::push_vertices_to_parent(const formats::VertexRun& run, std::string_view empty_text) {
    if (run.count == 0) return {};
    PyObject* parent = nullptr;
    if (auto s = parent_list(parent, empty_text); !s) return s;
    auto items = vertex_list(run);
    if (!items) return to_geozero_err(items.error());
    // A list on the stack is referenced from nowhere else until it is popped, so the new list
    // may stand in for an empty one.
    if (PyList_CheckExact(parent) && PyList_GET_SIZE(parent) == 0) {
        entries_.back() = std::move(*items);
        return {};
    }
    const Py_ssize_t end = PyList_GET_SIZE(parent);
    if (PyList_SetSlice(parent, end, end, items->get()) < 0) return to_geozero_err(binding::PyErr::fetch());
    return {};
}

binding::PyResult<binding::Ref> ObjectStack::finish() {
    if (entries_.empty()) return binding::fail(PyExc_IndexError, empty_stack_text);
    binding::Ref top = std::move(entries_.back());
    entries_.clear();
    if (!PyDict_Check(top.get())) return binding::fail(binding::cast_error(top.get(), "dict"));
    return top;
}

}  // namespace vornix::utils::builder
