#include "python/utils/builder/stack.h"

#include "python/utils/builder/conversions.h"

namespace vornix::utils::builder {

reader::Status ObjectStack::pop(binding::Ref& top) {
    if (entries_.empty()) return to_geozero_err(empty_stack_text);
    top = std::move(entries_.back());
    entries_.pop_back();
    return {};
}

reader::Status ObjectStack::push_to_parent(binding::Ref object, std::string_view empty_text) {
    if (entries_.empty()) return to_geozero_err(empty_text);
    PyObject* parent = entries_.back().get();
    if (!PyList_Check(parent)) return to_geozero_err(parent, "list");
    if (PyList_Append(parent, object.get()) < 0) return to_geozero_err(binding::PyErr::fetch());
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
