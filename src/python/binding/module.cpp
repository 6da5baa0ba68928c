#include "python/binding/module.h"

namespace binding {

namespace {

// The module's __all__ list, created when missing.
PyResult<Ref> all_list(PyObject* module) {
    Ref all = Ref::steal(PyObject_GetAttrString(module, "__all__"));
    if (all) {
        if (!PyList_Check(all.get())) return fail(cast_error(all.get(), "list"));
        return all;
    }
    if (!PyErr_ExceptionMatches(PyExc_AttributeError)) return fail();
    PyErr_Clear();
    all = Ref::steal(PyList_New(0));
    if (!all) return fail();
    if (PyObject_SetAttrString(module, "__all__", all.get()) < 0) return fail();
    return all;
}

PyResult<void> status(int code) {
    if (code < 0) return fail();
    return {};
}

}  // namespace

PyResult<void> add(PyObject* module, const char* name, Ref value) {
    auto all = all_list(module);
    if (!all) return fail(std::move(all.error()));
    auto key = checked(PyUnicode_FromString(name));
    if (!key) return fail(std::move(key.error()));
    if (auto appended = status(PyList_Append(all->get(), key->get())); !appended) return appended;
    return status(PyObject_SetAttr(module, key->get(), value.get()));
}

PyResult<void> add_function(PyObject* module, PyMethodDef& def) {
    Ref module_name = Ref::steal(PyModule_GetNameObject(module));
    if (!module_name) return fail();
    auto function = checked(PyCFunction_NewEx(&def, module, module_name.get()));
    if (!function) return fail(std::move(function.error()));
    return add(module, def.ml_name, std::move(*function));
}

PyResult<void> add_type(PyObject* module, PyTypeObject* type) {
    Ref name = Ref::steal(PyType_GetName(type));
    if (!name) return fail();
    const char* text = PyUnicode_AsUTF8(name.get());
    if (text == nullptr) return fail();
    return add(module, text, Ref::borrow(reinterpret_cast<PyObject*>(type)));
}

PyResult<Ref> new_module(const char* name, const char* doc) {
    auto module = checked(PyModule_New(name));
    if (!module) return module;
    if (doc != nullptr && PyModule_SetDocString(module->get(), doc) < 0) return fail();
    return module;
}

PyResult<void> insert_into_sys_modules(const char* key, PyObject* module) {
    auto sys = checked(PyImport_ImportModule("sys"));
    if (!sys) return fail(std::move(sys.error()));
    auto modules = checked(PyObject_GetAttrString(sys->get(), "modules"));
    if (!modules) return fail(std::move(modules.error()));
    auto name = checked(PyUnicode_FromString(key));
    if (!name) return fail(std::move(name.error()));
    return status(PyObject_SetItem(modules->get(), name->get(), module));
}

PyResult<void> add_submodule(PyObject* parent, PyObject* submodule) {
    Ref name = Ref::steal(PyModule_GetNameObject(submodule));
    if (!name) return fail();
    const char* text = PyUnicode_AsUTF8(name.get());
    if (text == nullptr) return fail();
    return add(parent, text, Ref::borrow(submodule));
}

}  // namespace binding
