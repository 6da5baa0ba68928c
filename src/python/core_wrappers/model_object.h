// What every geometry class over one shared model does the same way: one short locked step on the
// model (a poisoned lock is an ordinary Exception here, never a fault), its VeltJSON text, a fresh
// engine geometry, the engine's JSON text, the spatial reference, and replacing a part or a
// collection. A class T provides `using Model = M` and `Shared<M> model`.
#pragma once

#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "core/geometry/shared.h"
#include "core/geometry/spatial_reference.h"
#include "python/binding/binding.h"
#include "python/core_wrappers/common.h"
#include "python/core_wrappers/curve_multipart.h"
#include "python/core_wrappers/errors.h"
#include "python/core_wrappers/geometry.h"
#include "python/core_wrappers/item_slots.h"
#include "python/core_wrappers/locked.h"
#include "python/core_wrappers/multipart.h"
#include "python/core_wrappers/spatial_reference.h"

namespace vornix::python::model_object {

// f(model) under the lock; the Python result is made by the caller after the release.
template <typename M, typename F>
auto locked(const core::geometry::Shared<M>& model, F&& f) -> binding::PyResult<std::invoke_result_t<F, M&>> {
    return raise_geo(with_locked(model, std::forward<F>(f)));
}

// The same for an f that returns a model result of its own, raised the same way.
template <typename M, typename F>
auto with_model(const core::geometry::Shared<M>& model, F&& f)
    -> binding::PyResult<typename std::invoke_result_t<F, M&>::value_type> {
    auto outcome = locked(model, std::forward<F>(f));
    if (!outcome) return binding::fail(std::move(outcome.error()));
    return raise_geo(std::move(*outcome));
}

// A yes/no question to the model (has_z, has_m, is_empty).
template <typename T, auto Query>
binding::PyResult<bool> ask(T& self) {
    return locked(self.model, [](const typename T::Model& model) { return (model.*Query)(); });
}

// An optional value read from a model: None when absent.
template <typename V>
binding::PyResult<binding::Ref> optional_into_py(binding::PyResult<std::optional<V>> value) {
    if (!value) return binding::fail(std::move(value.error()));
    if (!*value) return binding::Ref::borrow(Py_None);
    return binding::into_py(**value);
}

template <typename T>
binding::PyResult<std::string> veltjson(T& self) {
    return locked(self.model, [](const auto& model) {
        std::string out;
        model.write_veltjson(out);
        return out;
    });
}

// The fresh engine geometry of the model, as __kxc_geo holds it; with a memo, its spatial reference
// may be the one the call's previous conversion made.
template <typename T>
binding::PyResult<::geometry::geometry::GeometryOwned> engine_geometry_owned(
    T& self, core::geometry::EngineSrMemo* memo = nullptr) {
    return with_model(self.model, [memo](const auto& model) { return model.as_geometry_owned(memo); });
}

template <typename T>
binding::PyResult<binding::Ref> kxc_geo(T& self) {
    auto owned = engine_geometry_owned(self);
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
    auto sr = locked(self.model, [](const auto& model) { return model_sr(model); });
    if (!sr) return binding::fail(std::move(sr.error()));
    if (!*sr) return binding::Ref::borrow(Py_None);
    return wrap_spatial_reference(std::move(**sr));
}

// The dictionary is read with no lock held (its values may run Python code that reaches this very
// object); a poisoned lock is still reported before the value is looked at.
template <typename T>
binding::PyResult<void> set_spatial_reference(T& self, PyObject* value) {
    if (auto checked = locked(self.model, [](const auto&) {}); !checked) return checked;
    if (!PyDict_Check(value)) return binding::fail(to_py_err(cast_geo_err(value, "dict")));
    auto sr = raise_geo(common::sr_from_dict(value));
    if (!sr) return binding::fail(std::move(sr.error()));
    return locked(self.model, [&](typename T::Model& model) { model.set_sr(std::move(*sr)); });
}

// A live view of one of the model's shared parts or collections: `Get` names it, `Wrap` makes the
// view object after the lock is released.
template <typename T, auto Get, auto Wrap>
binding::PyResult<binding::Ref> view(T& self) {
    auto held = locked(self.model, [](const typename T::Model& model) { return (model.*Get)(); });
    if (!held) return binding::fail(std::move(held.error()));
    return Wrap(std::move(*held));
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

// The argument of a class constructor: an object of the class (or a subclass) shares its model;
// a dict is read into a new one; anything else is the class's own TypeError.
template <typename T>
binding::PyResult<T> from_py(PyObject* object, const char* refusal) {
    if (T* existing = binding::Type<T>::value_of(object)) return T{{}, existing->model};
    if (PyDict_Check(object)) return T::from_dict(object);
    return binding::fail(PyExc_TypeError, refusal);
}

// A value over a new model, or the model's error raised.
template <typename T>
binding::PyResult<T> from_model(core::geometry::GeoResult<typename T::Model> model) {
    auto value = raise_geo(std::move(model));
    if (!value) return binding::fail(std::move(value.error()));
    return T{{}, core::geometry::make_shared_cell(std::move(*value))};
}

// The parts under a part key of a dictionary: none when the key is missing; any value but a list
// (None included) is refused.
template <typename P>
binding::PyResult<std::vector<core::geometry::Shared<P>>> parts_of(
    PyObject* dict, const common::Key& key,
    binding::PyResult<std::vector<core::geometry::Shared<P>>> (*read)(PyObject*, bool, bool),
    std::pair<bool, bool> dims) {
    auto value = raise_geo(common::dict_lookup(dict, key));
    if (!value) return binding::fail(std::move(value.error()));
    if (!*value) return std::vector<core::geometry::Shared<P>>{};
    if (auto checked = raise_geo(common::expect_list(value->get())); !checked)
        return binding::fail(std::move(checked.error()));
    return read(value->get(), dims.first, dims.second);
}

// The dictionary of a polyline or polygon, in reading order: "hasZ", "hasM", the straight parts,
// the curve parts, "spatialReference", then the model's own checks (the ring rules).
template <typename T>
binding::PyResult<T> multipart_from_dict(PyObject* dict, const common::Key& straight_key,
                                         const common::Key& curved_key) {
    auto dims = raise_geo(common::nested_geom_dict_dims(dict));
    if (!dims) return binding::fail(std::move(dims.error()));
    auto straight = parts_of(dict, straight_key, &multipart_input_vec_from_list, *dims);
    if (!straight) return binding::fail(std::move(straight.error()));
    auto curved = parts_of(dict, curved_key, &curve_multipart_input_vec_from_list, *dims);
    if (!curved) return binding::fail(std::move(curved.error()));
    auto sr = raise_geo(common::dict_sr(dict));
    if (!sr) return binding::fail(std::move(sr.error()));
    return from_model<T>(T::Model::try_new_with_curves(dims->first, dims->second, std::move(*straight),
                                                       std::move(*curved), std::move(*sr)));
}

// An engine geometry made from the locked model, for operations that take one as an argument.
template <typename T, typename F>
auto engine_geometry(const T& self, F&& convert) -> std::invoke_result_t<F, const typename T::Model&> {
    auto made = with_locked(self.model, std::forward<F>(convert));
    if (!made) return std::unexpected(std::move(made.error()));
    return std::move(*made);
}

// A new Python object of exactly the class T (never a user subclass) around a value.
template <typename T>
binding::PyResult<binding::Ref> wrap(binding::PyResult<T> value) {
    if (!value) return binding::fail(std::move(value.error()));
    return binding::Type<T>::wrap(std::move(*value));
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
