// Type slots made from C++ implementations, for the protocols that classes implement besides
// methods and properties: str()/repr(), len(), obj[key], iteration.
#pragma once

#include "python/binding/function.h"

namespace binding {

namespace detail {

template <auto Impl>
struct UnarySlot {
    using Self = std::tuple_element_t<0, typename Signature<decltype(Impl)>::Args>;
    static PyObject* call(PyObject* self) {
        return guard([&]() -> PyResult<Ref> { return to_python(Impl(SelfArg<Self>::get(self))); });
    }
};

template <auto Impl>
struct LengthSlot {
    using Self = std::tuple_element_t<0, typename Signature<decltype(Impl)>::Args>;
    static Py_ssize_t call(PyObject* self) {
        Py_ssize_t length = -1;
        int status = guard_status([&]() -> PyResult<void> {
            auto result = to_python_size(Impl(SelfArg<Self>::get(self)));
            if (!result) return fail(std::move(result.error()));
            length = *result;
            return {};
        });
        return status < 0 ? -1 : length;
    }
    template <typename R>
    static PyResult<Py_ssize_t> to_python_size(R&& result) {
        if constexpr (is_expected_v<std::decay_t<R>>) {
            if (!result) return fail(std::move(result.error()));
            return checked_size(*result);
        } else {
            return checked_size(result);
        }
    }
    static PyResult<Py_ssize_t> checked_size(size_t size) {
        if (size > size_t(PY_SSIZE_T_MAX)) return fail(PyExc_OverflowError, "length too large");
        return Py_ssize_t(size);
    }
};

template <auto Impl>
struct BinarySlot {
    using Self = std::tuple_element_t<0, typename Signature<decltype(Impl)>::Args>;
    static PyObject* call(PyObject* self, PyObject* key) {
        return guard([&]() -> PyResult<Ref> { return to_python(Impl(SelfArg<Self>::get(self), key)); });
    }
};

// tp_iternext: the end of the iteration is a null result without an exception set.
template <auto Impl>
struct NextSlot {
    using Self = std::tuple_element_t<0, typename Signature<decltype(Impl)>::Args>;
    static PyObject* call(PyObject* self) {
        bool finished = false;
        PyObject* item = guard([&]() -> PyResult<Ref> {
            PyResult<std::optional<Ref>> next = Impl(SelfArg<Self>::get(self));
            if (!next) return fail(std::move(next.error()));
            if (!*next) {
                finished = true;
                return Ref::borrow(Py_None);
            }
            return std::move(**next);
        });
        if (!finished) return item;
        Py_DECREF(item);
        return nullptr;
    }
};

inline PyObject* return_self(PyObject* self) { return Py_NewRef(self); }

}  // namespace detail

// str(obj) and repr(obj): Impl(self) -> text, Ref or a PyResult of one.
template <auto Impl>
PyType_Slot str_slot() {
    return {Py_tp_str, reinterpret_cast<void*>(&detail::UnarySlot<Impl>::call)};
}
template <auto Impl>
PyType_Slot repr_slot() {
    return {Py_tp_repr, reinterpret_cast<void*>(&detail::UnarySlot<Impl>::call)};
}

// len(obj): Impl(self) -> size_t or PyResult<size_t>.
template <auto Impl>
PyType_Slot length_slot() {
    return {Py_mp_length, reinterpret_cast<void*>(&detail::LengthSlot<Impl>::call)};
}

// obj[key]: Impl(self, PyObject* key) -> R or PyResult<R>.
template <auto Impl>
PyType_Slot get_item_slot() {
    return {Py_mp_subscript, reinterpret_cast<void*>(&detail::BinarySlot<Impl>::call)};
}

// iter(obj): Impl(self) -> an iterator object (Ref or PyResult<Ref>).
template <auto Impl>
PyType_Slot iter_slot() {
    return {Py_tp_iter, reinterpret_cast<void*>(&detail::UnarySlot<Impl>::call)};
}

// For iterator classes: iter(it) is it, and next(it) calls Impl(self) -> PyResult<std::optional<Ref>>,
// nullopt ending the iteration.
inline PyType_Slot iter_self_slot() { return {Py_tp_iter, reinterpret_cast<void*>(&detail::return_self)}; }
template <auto Impl>
PyType_Slot next_slot() {
    return {Py_tp_iternext, reinterpret_cast<void*>(&detail::NextSlot<Impl>::call)};
}

}  // namespace binding
