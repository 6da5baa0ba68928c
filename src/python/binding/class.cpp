#include "python/binding/class.h"

namespace binding {

bool has_own_method(PyTypeObject* type, PyObject* name) {
    PyObject* found = _PyType_Lookup(type, name);  // borrowed; the type's method cache answers
    if (found == nullptr || !Py_IS_TYPE(found, &PyMethodDescr_Type)) return false;
    const auto* method = reinterpret_cast<const PyMethodDescrObject*>(found);
    return method->d_common.d_type == type &&
           (method->d_common.d_name == name || PyUnicode_Compare(method->d_common.d_name, name) == 0);
}

}  // namespace binding

namespace binding::detail {

void report_unraisable(PyTypeObject* type, const char* what) noexcept {
    raise_escaped(core::PendingScope(), what, false);
    PyErr_WriteUnraisable(reinterpret_cast<PyObject*>(type));
}

PyResult<PyTypeObject*> make_type(ClassSpec& spec, Py_ssize_t basicsize, destructor dealloc) {
    // The interpreter keeps pointers to the method and property tables: terminate them in place.
    if (spec.methods.empty() || spec.methods.back().ml_name != nullptr) spec.methods.push_back({});
    if (spec.getsets.empty() || spec.getsets.back().name != nullptr) spec.getsets.push_back({});

    std::vector<PyType_Slot> slots = {
        {Py_tp_dealloc, reinterpret_cast<void*>(dealloc)},
        {Py_tp_methods, spec.methods.data()},
        {Py_tp_getset, spec.getsets.data()},
    };
    if (spec.doc != nullptr) slots.push_back({Py_tp_doc, const_cast<char*>(spec.doc)});
    if (spec.constructor != nullptr) slots.push_back({Py_tp_new, reinterpret_cast<void*>(spec.constructor)});
    slots.insert(slots.end(), spec.slots.begin(), spec.slots.end());
    slots.push_back({0, nullptr});

    unsigned flags = Py_TPFLAGS_DEFAULT;
    if (spec.subclassable) flags |= Py_TPFLAGS_BASETYPE;
    if (spec.constructor == nullptr) flags |= Py_TPFLAGS_DISALLOW_INSTANTIATION;
    PyType_Spec type_spec{spec.name, int(basicsize), 0, flags, slots.data()};

    Ref bases;
    if (spec.base != nullptr) {
        auto base = spec.base();
        if (!base) return fail(std::move(base.error()));
        bases = Ref::steal(PyTuple_Pack(1, reinterpret_cast<PyObject*>(*base)));
        if (!bases) return fail();
    }
    PyObject* type = PyType_FromSpecWithBases(&type_spec, bases.get());
    if (type == nullptr) return fail();
    return reinterpret_cast<PyTypeObject*>(type);
}

}  // namespace binding::detail
