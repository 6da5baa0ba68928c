// Generated entry points: module functions, methods, static methods, properties and item
// assignment, each made from a plain C++ implementation function and wrapped by `guard`.
#pragma once

#include "python/binding/call.h"
#include "python/binding/entry.h"

namespace binding {

namespace detail {

// METH_FASTCALL functions travel in PyMethodDef under the PyCFunction type.
template <typename F>
PyCFunction as_cfunction(F* function) {
    return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(function));
}

constexpr const char* last_component(const Params& params) {
    size_t dot = params.function.rfind('.');
    return params.function.data() + (dot == std::string_view::npos ? 0 : dot + 1);
}

// METH_FASTCALL | METH_KEYWORDS entry point; `HasSelf` passes the receiver to Impl first.
template <const Params& P, auto Impl, bool HasSelf>
struct Fastcall {
    using Sig = Signature<decltype(Impl)>;
    using Python = PythonArgs<HasSelf, typename Sig::Args>;
    using Conv = ConvertedOf<typename Python::type>;
    static_assert(Conv::count == P.count, "parameter names and implementation arity differ");

    static PyObject* call(PyObject* self, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
        return guard([&]() -> PyResult<Ref> {
            PyObject* slots[Params::kMax + 1] = {};
            if (auto bound = bind_fastcall(P, Conv::required, args, nargs, kwnames, slots); !bound)
                return fail(std::move(bound.error()));
            if constexpr (HasSelf) {
                using Self = typename Python::Self;
                return finish(Conv::type::call(P, slots, Impl, SelfArg<Self>::get(self)));
            } else {
                return finish(Conv::type::call(P, slots, Impl));
            }
        });
    }
};

}  // namespace detail

// `doc` is "name(sig)\n--\n\n<text>": the interpreter reads __text_signature__ from its first part.
// Module function: Impl(args...) -> R or PyResult<R>.
template <const Params& P, auto Impl>
PyMethodDef function(const char* doc) {
    return {detail::last_component(P), detail::as_cfunction(&detail::Fastcall<P, Impl, false>::call),
            METH_FASTCALL | METH_KEYWORDS, doc};
}

// Instance method: Impl(self, args...) with self a PyObject* or a bound class's value (T&).
template <const Params& P, auto Impl>
PyMethodDef method(const char* doc) {
    return {detail::last_component(P), detail::as_cfunction(&detail::Fastcall<P, Impl, true>::call),
            METH_FASTCALL | METH_KEYWORDS, doc};
}

// Static method of a class: Impl(args...).
template <const Params& P, auto Impl>
PyMethodDef static_method(const char* doc) {
    return {detail::last_component(P), detail::as_cfunction(&detail::Fastcall<P, Impl, false>::call),
            METH_FASTCALL | METH_KEYWORDS | METH_STATIC, doc};
}

namespace detail {

template <auto Get>
struct Getter {
    using Self = std::tuple_element_t<0, typename Signature<decltype(Get)>::Args>;
    static PyObject* call(PyObject* self, void*) {
        return guard([&]() -> PyResult<Ref> { return to_python(Get(SelfArg<Self>::get(self))); });
    }
};

// The setter's value is converted as an argument named after the property.
template <auto Set>
struct Setter {
    using Args = typename Signature<decltype(Set)>::Args;
    using Self = std::tuple_element_t<0, Args>;
    using Value = std::decay_t<std::tuple_element_t<1, Args>>;
    static int call(PyObject* self, PyObject* value, void* name) {
        return guard_status([&]() -> PyResult<void> {
            if (value == nullptr) return fail(PyExc_AttributeError, "can't delete attribute");
            auto converted = extract<Value>(value, static_cast<const char*>(name));
            if (!converted) return fail(std::move(converted.error()));
            return call_status(Set, SelfArg<Self>::get(self), std::move(*converted));
        });
    }
};

template <auto Set>
struct ItemSetter {
    using Self = std::tuple_element_t<0, typename Signature<decltype(Set)>::Args>;
    static int call(PyObject* self, PyObject* key, PyObject* value) {
        return guard_status([&]() -> PyResult<void> {
            if (value == nullptr) return fail(PyExc_NotImplementedError, "can't delete item");
            return call_status(Set, SelfArg<Self>::get(self), key, value);
        });
    }
};

}  // namespace detail

// Properties. Get: (self) -> R or PyResult<R>; Set: (self, V) -> void or PyResult<void>, with V
// converted like an argument named `name`. Deleting a property raises "can't delete attribute".
template <auto Get>
PyGetSetDef getter(const char* name, const char* doc = nullptr) {
    return {name, &detail::Getter<Get>::call, nullptr, doc, nullptr};
}
template <auto Get, auto Set>
PyGetSetDef property(const char* name, const char* doc = nullptr) {
    return {name, &detail::Getter<Get>::call, &detail::Setter<Set>::call, doc, const_cast<char*>(name)};
}
template <auto Set>
PyGetSetDef setter(const char* name, const char* doc = nullptr) {
    return {name, nullptr, &detail::Setter<Set>::call, doc, const_cast<char*>(name)};
}

// obj[key] = value: Set(self, PyObject* key, PyObject* value); `del obj[key]` raises
// NotImplementedError "can't delete item".
template <auto Set>
PyType_Slot set_item_slot() {
    return {Py_mp_ass_subscript, reinterpret_cast<void*>(&detail::ItemSetter<Set>::call)};
}

}  // namespace binding
