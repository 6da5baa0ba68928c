// What every geometry class that holds one shared model does the same way: lock the model (a
// poisoned lock is an ordinary Exception here, never a fault), write its VeltJSON text, hand the
// engine a fresh geometry, give the engine's JSON text, and read or replace the spatial reference.
// A class T provides `using Model = M` and `Shared<M> model`; M provides write_veltjson, as_geometry_owned, and a
// spatial reference reached through model_sr / set_sr.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "core/geometry/shared.h"
#include "core/geometry/spatial_reference.h"
#include "python/binding/binding.h"
#include "python/common.h"
#include "python/core_wrappers/errors.h"
#include "python/core_wrappers/geometry.h"
#include "python/core_wrappers/spatial_reference.h"

namespace vornix::python::model_object {

template <typename M>
using Guard = typename core::PoisonMutex<M>::Guard;

// The model locked, or the Python error of a poisoned lock.
template <typename M>
binding::PyResult<Guard<M>> lock(const core::geometry::Shared<M>& model) {
    return raise_geo(core::geometry::lock_model(*model));
}

// Runs f(model) under the lock and raises a model error it returns.
template <typename M, typename F>
auto with_model(const core::geometry::Shared<M>& model, F&& f)
    -> binding::PyResult<typename std::invoke_result_t<F, M&>::value_type> {
    auto guard = lock(model);
    if (!guard) return binding::fail(std::move(guard.error()));
    return raise_geo(f(**guard));
}

// An optional value read from a model: None when absent.
template <typename V>
binding::PyResult<binding::Ref> optional_into_py(binding::PyResult<std::optional<V>> value) {
    if (!value) return binding::fail(std::move(value.error()));
    if (!*value) return binding::Ref::borrow(Py_None);
    return binding::into_py(**value);
}

// Reads a value under the lock; the Python object is made after the lock is released.
template <typename M, typename F>
auto read(const core::geometry::Shared<M>& model, F&& f) -> binding::PyResult<std::invoke_result_t<F, const M&>> {
    auto guard = lock(model);
    if (!guard) return binding::fail(std::move(guard.error()));
    return f(**guard);
}

// A yes/no question to the model under its lock (has_z, has_m, is_empty).
template <typename T, auto Query>
binding::PyResult<bool> ask(T& self) {
    return read(self.model, [](const typename T::Model& model) { return (model.*Query)(); });
}

template <typename M, typename F>
binding::PyResult<void> write(const core::geometry::Shared<M>& model, F&& f) {
    auto guard = lock(model);
    if (!guard) return binding::fail(std::move(guard.error()));
    f(**guard);
    return {};
}

template <typename T>
binding::PyResult<std::string> veltjson(T& self) {
    return read(self.model, [](const auto& model) {
        std::string out;
        model.write_veltjson(out);
        return out;
    });
}

template <typename T>
binding::PyResult<binding::Ref> kxc_geo(T& self) {
    auto owned = with_model(self.model, [](const auto& model) { return model.as_geometry_owned(); });
    if (!owned) return binding::fail(std::move(owned.error()));
    return new_kxc_geo(std::move(*owned));
}

template <typename T>
binding::PyResult<std::string> engine_json(T& self) {
    return with_model(self.model, [](const auto& model) { return model.to_json(); });
}

inline const std::optional<core::geometry::SpatialReference>& model_sr(const auto& model) {
    if constexpr (requires { model.sr(); })
        return model.sr();
    else
        return model.sr;
}

// A new SpatialReference object holding a copy, or None.
template <typename T>
binding::PyResult<binding::Ref> spatial_reference(T& self) {
    auto sr = read(self.model, [](const auto& model) { return model_sr(model); });
    if (!sr) return binding::fail(std::move(sr.error()));
    if (!*sr) return binding::Ref::borrow(Py_None);
    return wrap_spatial_reference(std::move(**sr));
}

// Replaces a part or collection of the model: the value becomes one (shared, or read from a list
// with the model's dimensions) with no lock held, then the model checks its dimensions.
template <typename T, typename C>
binding::PyResult<void> install(T& self, PyObject* value,
                                binding::PyResult<core::geometry::Shared<C>> (*from_py)(PyObject*, bool, bool),
                                core::geometry::GeoResult<void> (T::Model::*set)(core::geometry::Shared<C>)) {
    auto z = ask<T, &T::Model::has_z>(self);
    if (!z) return binding::fail(std::move(z.error()));
    auto m = ask<T, &T::Model::has_m>(self);
    if (!m) return binding::fail(std::move(m.error()));
    auto replacement = from_py(value, *z, *m);
    if (!replacement) return binding::fail(std::move(replacement.error()));
    return with_model(self.model, [&](typename T::Model& model) { return (model.*set)(std::move(*replacement)); });
}

// The dictionary is read with no lock held (its values may run Python code that reaches this very
// object); a poisoned lock is still reported before the value is looked at.
template <typename T>
binding::PyResult<void> set_spatial_reference(T& self, PyObject* value) {
    if (auto guard = lock(self.model); !guard) return binding::fail(std::move(guard.error()));
    if (!PyDict_Check(value)) return binding::fail(to_py_err(cast_geo_err(value, "dict")));
    auto sr = raise_geo(common::sr_from_dict(value));
    if (!sr) return binding::fail(std::move(sr.error()));
    return write(self.model, [&](auto& model) { model.set_sr(std::move(*sr)); });
}

}  // namespace vornix::python::model_object

namespace vornix::python::model_object {

// The argument of a class constructor: an object of the class (or a subclass) shares its model;
// a dict is read into a new one; anything else is the class's own TypeError.
template <typename T>
binding::PyResult<T> from_py(PyObject* object, const char* refusal) {
    if (T* existing = binding::Type<T>::value_of(object)) return T{{}, existing->model};
    if (PyDict_Check(object)) return T::from_dict(object);
    return binding::fail(PyExc_TypeError, refusal);
}

// A value over a new model read from an engine geometry of any kind (consumed).
template <typename T>
binding::PyResult<T> try_from_owned(::geometry::geometry::GeometryOwned geometry) {
    using Model = typename T::Model;
    auto model = raise_geo(Model::try_from_owned(std::move(geometry)));
    if (!model) return binding::fail(std::move(model.error()));
    return T{{}, core::geometry::make_shared_cell(std::move(*model))};
}

// A new Python object of exactly the class T (never a user subclass) around a value.
template <typename T>
binding::PyResult<binding::Ref> wrap(binding::PyResult<T> value) {
    if (!value) return binding::fail(std::move(value.error()));
    return binding::Type<T>::wrap(std::move(*value));
}

}  // namespace vornix::python::model_object

namespace vornix::python::model_object {

// A settable property whose value converts as the argument `argument` in its error messages.
template <auto Get, auto Set>
PyGetSetDef named_property(const char* name, const char* argument) {
    PyGetSetDef def = binding::property<Get, Set>(name);
    def.closure = const_cast<char*>(argument);
    return def;
}

// `geometry_type`: the class's name, without a look at the model.
template <const char* Name, typename T>
const char* type_name(T&) {
    return Name;
}

// `id` and `ids`: never stored, always None.
template <typename T>
binding::Ref none(T&) {
    return binding::Ref::borrow(Py_None);
}

}  // namespace vornix::python::model_object
