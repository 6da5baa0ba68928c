// Python classes over C++ values: heap types made with PyType_FromSpec whose instances hold one T
// after the object header, constructed in tp_new (never in __init__) and destroyed in tp_dealloc.
// A class without a constructor cannot be instantiated from Python (CPython's "cannot create
// '<module>.<name>' instances"); the module makes its objects with Type<T>::wrap.
//
// A bound type T provides `static binding::ClassSpec class_spec();`. A Python subclass relation
// is mirrored by C++ inheritance (struct PyPoint : PyGeometry), so that the base's value sits at
// the same place in every instance.
#pragma once

#include <new>
#include <string>
#include <type_traits>
#include <vector>

#include "python/binding/function.h"

namespace binding {

struct ClassSpec {
    const char* name = nullptr;  // "vornix_geometry.Point": __module__ and __name__, must be static
    const char* doc = nullptr;   // "Point(x, y)\n--\n\n...": gives __text_signature__
    std::vector<PyMethodDef> methods;
    std::vector<PyGetSetDef> getsets;
    std::vector<PyType_Slot> slots;      // further slots: protocols, comparison, iteration
    newfunc constructor = nullptr;       // tp_new; null: no construction from Python
    PyResult<PyTypeObject*> (*base)() = nullptr;  // base class, created first
    bool subclassable = false;
};

// Whether the attribute `name` of `type` is still the method that the class itself defines under
// that name: not replaced by an assignment to the class, nor inherited. Never raises.
bool has_own_method(PyTypeObject* type, PyObject* name);

namespace detail {
// Creates the heap type; `spec` must outlive it (the interpreter keeps pointers into it).
PyResult<PyTypeObject*> make_type(ClassSpec& spec, Py_ssize_t basicsize, destructor dealloc);

// Reports a fault deferred while a value was destroyed (an owner whose engine destroy failed)
// once, as an unraisable PanicException: deallocation has no caller to raise to. The report names
// the class, never the dying object: its count is already zero, so a hook that kept it (or the
// default hook's repr of it) would revive memory that is about to be freed and free it again.
void report_unraisable(PyTypeObject* type, const char* what) noexcept;

template <typename T>
void dealloc(PyObject* self) {
    static_assert(std::is_nothrow_destructible_v<T>, "a bound value defers its faults, never throws them");
    PyTypeObject* type = Py_TYPE(self);
    const core::PendingScope pending;
    reinterpret_cast<Instance<T>*>(self)->value.~T();
    if (auto fault = pending.take()) report_unraisable(type, fault->what());
    type->tp_free(self);
    Py_DECREF(type);
}

// A new instance of `type` (T's class or a subclass of it) holding `value`.
template <typename T>
PyResult<Ref> emplace(PyTypeObject* type, T&& value) {
    PyObject* object = type->tp_alloc(type, 0);
    if (object == nullptr) return fail();
    try {
        new (&reinterpret_cast<Instance<T>*>(object)->value) T(std::move(value));
    } catch (...) {
        // Not yet an object that tp_dealloc could destroy.
        type->tp_free(object);
        Py_DECREF(type);
        throw;
    }
    return Ref::steal(object);
}
}  // namespace detail

template <typename T>
class Type {
public:
    // The class's type object, created on first use and kept for the life of the process; a
    // failed creation is retried by the next call. Borrowed.
    static PyResult<PyTypeObject*> get() {
        static PyTypeObject* type = nullptr;
        if (type != nullptr) return type;
        static ClassSpec spec = T::class_spec();
        auto made = detail::make_type(spec, sizeof(Instance<T>), &detail::dealloc<T>);
        if (made) type = *made;
        return made;
    }
    // The same as a new reference, for adding the class to a module.
    static PyResult<Ref> object() {
        auto type = get();
        if (!type) return fail(std::move(type.error()));
        return Ref::borrow(reinterpret_cast<PyObject*>(*type));
    }
    // A new object of exactly this class.
    static PyResult<Ref> wrap(T value) {
        auto type = get();
        if (!type) return fail(std::move(type.error()));
        return detail::emplace<T>(*type, std::move(value));
    }
    // The value of an instance of this class or a subclass, or null.
    static T* value_of(PyObject* object) {
        auto type = get();
        if (!type) {
            PyErr_Clear();
            return nullptr;
        }
        if (!PyObject_TypeCheck(object, *type)) return nullptr;
        return &reinterpret_cast<Instance<T>*>(object)->value;
    }

    // The value of an object of exactly T's class; null for an instance of a subclass, or of
    // anything else.
    static T* exact_value_of(PyObject* object) {
        auto type = get();
        if (!type) {
            PyErr_Clear();
            return nullptr;
        }
        if (Py_TYPE(object) != *type) return nullptr;
        return &reinterpret_cast<Instance<T>*>(object)->value;
    }
};

namespace detail {
template <const Params& P, auto Impl>
struct Constructor {
    using Sig = Signature<decltype(Impl)>;
    using Conv = ConvertedOf<typename Sig::Args>;
    using T = typename Sig::Result::value_type;
    static_assert(Conv::count == P.count, "parameter names and implementation arity differ");

    static PyObject* call(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
        return guard([&]() -> PyResult<Ref> {
            // Keyword values are borrowed from a copy of the dictionary: a C caller's own dictionary
            // may be emptied by Python code that the conversions run, freeing them.
            Ref keywords;
            if (kwargs != nullptr && PyDict_GET_SIZE(kwargs) != 0) {
                keywords = Ref::steal(PyDict_Copy(kwargs));
                if (!keywords) return fail();
            }
            PyObject* slots[Params::kMax + 1] = {};
            if (auto bound = bind_tuple(P, Conv::required, args, keywords.get(), slots); !bound)
                return fail(std::move(bound.error()));
            auto outcome = Conv::type::call(P, slots, Impl);
            if (!outcome) return fail(std::move(outcome.error()));
            if (!*outcome) return fail(std::move(outcome->error()));
            return emplace<T>(type, std::move(**outcome));
        });
    }
};
}  // namespace detail

// tp_new from Impl(args...) -> PyResult<T>.
template <const Params& P, auto Impl>
constexpr newfunc constructor() {
    return &detail::Constructor<P, Impl>::call;
}

// An argument of a bound class: the instance's value, or the cast error naming the class.
template <typename T>
    requires requires { T::class_spec(); }
struct FromPy<T*> {
    static PyResult<T*> convert(PyObject* object) {
        if (T* value = Type<T>::value_of(object)) return value;
        auto type = Type<T>::get();
        if (!type) return fail(std::move(type.error()));
        Ref name = Ref::steal(PyType_GetName(*type));
        if (!name) return fail();
        return fail(cast_error(object, text_of(name.get())));
    }
};

}  // namespace binding
