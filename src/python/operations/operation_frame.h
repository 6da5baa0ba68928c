// The operation frame: what every engine-backed operation of Geometry, of its static collection
// methods and of the module's collection functions does the same way. Arguments are typed by the
// parameter types below (so the binding refuses a wrong one with a TypeError naming it, before
// anything is converted); each geometry becomes a fresh engine geometry through its __kxc_geo;
// the engine wrapper (geometry::geometry_engine, the one core function of each operation, shared
// by the single and the collection paths) runs on borrowed inputs; the inputs are destroyed, the
// last-made first, before the result becomes a Python object; an engine error becomes the
// library-error Exception.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "geometry/array.h"
#include "geometry/downcast.h"
#include "geometry/envelope.h"
#include "geometry/error.h"
#include "geometry/geometry.h"
#include "geometry/geometry_engine.h"
#include "geometry/point.h"
#include "geometry/polygon.h"
#include "geometry/spatial_reference.h"
#include "python/binding/binding.h"
#include "python/core_wrappers/envelope.h"
#include "python/core_wrappers/geometry.h"
#include "python/core_wrappers/point.h"

namespace vornix::python::frame {

using ::geometry::Error;
using ::geometry::Result;
using ::geometry::geometry::GeometryOwned;

// A geometry parameter (`other`, `rhs`, `primary`): an instance of Geometry or a subclass, kept
// as the object itself, so that its own __kxc_geo is asked when the frame converts it.
struct GeometryParam {
    PyObject* object;
};

// A yes/no parameter with a default of false: it may be omitted, but when given it must be a
// Python bool (or a numpy bool); None and 1 are refused like any other value.
struct Flag {
    bool value;
};

// A parameter that must be given but may be None (`origin`, the `unit` of _buffer_geodetic): the
// value of an instance of T (or a subclass), or null for None.
template <typename T>
struct Nullable {
    T* value;
};

// The library-error Exception: "Corvane library error: '<display text>'".
binding::PyErr library_error(const Error& error);

// One geometry argument converted: the fresh engine geometry its own __kxc_geo makes, or the
// Python error of that conversion (unchanged).
binding::PyResult<GeometryOwned> engine_geometry(PyObject* object);

// The last step of every operation, once its inputs' engine geometries are destroyed: the engine
// result as a Python object. Geometries become the class of their engine type code; lists become
// Python lists in the engine's order (the first conversion failure wins and nothing partial is
// returned).
binding::PyResult<binding::Ref> into_object(bool value);
binding::PyResult<binding::Ref> into_object(std::array<double, 2> pair);  // a tuple
binding::PyResult<binding::Ref> into_object(std::array<double, 4> corners);  // a tuple
binding::PyResult<binding::Ref> into_object(double value);
binding::PyResult<binding::Ref> into_object(GeometryOwned geometry);
binding::PyResult<binding::Ref> into_object(::geometry::polygon::Polygon polygon);
binding::PyResult<binding::Ref> into_object(::geometry::envelope::Envelope envelope);
binding::PyResult<binding::Ref> into_object(::geometry::point::Point point);
binding::PyResult<binding::Ref> into_object(std::optional<GeometryOwned> geometry);  // None when absent
binding::PyResult<binding::Ref> into_object(std::vector<GeometryOwned> geometries);
binding::PyResult<binding::Ref> into_object(std::vector<::geometry::polygon::Polygon> polygons);
binding::PyResult<binding::Ref> into_object(std::vector<::geometry::point::Point> points);
binding::PyResult<binding::Ref> into_object(std::vector<bool> values);
binding::PyResult<binding::Ref> into_object(std::vector<double> values);
// An engine array's items as a list: each read, made a Python object and released before the next
// is read, so that no result exists twice in engine form; the first failure wins (an engine
// failure as the library error) and nothing partial is returned.
binding::PyResult<binding::Ref> into_object(::geometry::array::Items<GeometryOwned> items);
binding::PyResult<binding::Ref> into_object(::geometry::array::Items<::geometry::polygon::Polygon> items);
// The same items appended to `list` (a list of the caller's making).
binding::PyResult<void> append_items(PyObject* list, ::geometry::array::Items<::geometry::polygon::Polygon> items);

// The geometries made Python objects in order (their spatial references as `sr` says) and appended
// to `list`, each released once its object is made; `geometries` is left empty. On the first
// failure the rest are released unmade.
binding::PyResult<void> append_geometries(PyObject* list, std::vector<GeometryOwned>& geometries,
                                          const core::geometry::ResultSr& sr = {});

// An engine answer under either failure policy: a Result (its error raised as the library error)
// or a plain value (the wrapper stopped on its own errors).
template <typename R>
binding::PyResult<binding::Ref> raised(R answer) {
    return into_object(std::move(answer));
}
template <typename R>
binding::PyResult<binding::Ref> raised(Result<R> answer) {
    if (!answer) return binding::fail(library_error(answer.error()));
    return into_object(std::move(*answer));
}

// `op` on the engine geometry of `object` (destroyed afterwards), inside another step of the
// frame. The result is a PyResult of op's result: the conversion's Python error or op's answer.
template <typename Op>
auto with_engine_geometry(PyObject* object, Op&& op)
    -> binding::PyResult<std::invoke_result_t<Op, const GeometryOwned&>> {
    auto geometry = engine_geometry(object);
    if (!geometry) return binding::fail(std::move(geometry.error()));
    return std::forward<Op>(op)(*geometry);
}

// The answer of a PyResult-returning step as the Python result.
template <typename R>
binding::PyResult<binding::Ref> raised(binding::PyResult<R> answer) {
    if (!answer) return binding::fail(std::move(answer.error()));
    return raised(std::move(*answer));
}

// A whole operation on `self`: its engine geometry made, `op` run on it, the geometry destroyed,
// then the result made a Python object.
template <typename Op>
binding::PyResult<binding::Ref> apply(PyObject* self, Op&& op) {
    return raised(with_engine_geometry(self, std::forward<Op>(op)));
}

// The same for `self` and one geometry argument: made in this order, destroyed in reverse before
// the result is converted; a failed second conversion destroys the first.
template <typename Op>
binding::PyResult<binding::Ref> apply(PyObject* self, GeometryParam other, Op&& op) {
    using R = std::invoke_result_t<Op, const GeometryOwned&, const GeometryOwned&>;
    auto answer = [&]() -> binding::PyResult<R> {
        auto first = engine_geometry(self);
        if (!first) return binding::fail(std::move(first.error()));
        auto second = engine_geometry(other.object);
        if (!second) return binding::fail(std::move(second.error()));
        return std::forward<Op>(op)(*first, *second);
    }();
    return raised(std::move(answer));
}

// A method that is one engine operation on `self` alone, or on `self` and one geometry argument.
template <auto Op>
binding::PyResult<binding::Ref> on_self(PyObject* self) {
    return apply(self, [](const GeometryOwned& geometry) { return Op(geometry); });
}
template <auto Op>
binding::PyResult<binding::Ref> on_pair(PyObject* self, GeometryParam other) {
    return apply(self, other, [](const GeometryOwned& a, const GeometryOwned& b) { return Op(a, b); });
}

// A z/m removal with its result re-typed: the engine is asked the result's kind once more, and a
// failure there is the downcast's fault. The single and the collection paths both use it.
template <GeometryOwned (*Remove)(::geometry::geometry_engine::GeometryArg)>
GeometryOwned retyped(::geometry::geometry_engine::GeometryArg geometry) {
    // Narrowing to GeometryOwned gives no error value: its failures stop.
    return *::geometry::downcast::downcast<GeometryOwned>(Remove(geometry));
}

// The fixed arguments that operations turn into engine objects of their own, each made from the
// object's current model under its lock (a poisoned lock or refused data is the model's error).
// None for a null origin.
binding::PyResult<std::optional<::geometry::point::Point>> origin_point(Nullable<PyPoint> origin);
binding::PyResult<::geometry::envelope::Envelope> engine_envelope(const PyEnvelope& envelope);

}  // namespace vornix::python::frame

// The parameter types as the binding converts them.
template <>
struct binding::FromPy<vornix::python::frame::GeometryParam> {
    static PyResult<vornix::python::frame::GeometryParam> convert(PyObject* object);
};

template <typename T>
struct binding::FromPy<vornix::python::frame::Nullable<T>> {
    static PyResult<vornix::python::frame::Nullable<T>> convert(PyObject* object) {
        if (object == Py_None) return vornix::python::frame::Nullable<T>{nullptr};
        auto value = FromPy<T*>::convert(object);
        if (!value) return fail(std::move(value.error()));
        return vornix::python::frame::Nullable<T>{*value};
    }
};

template <>
struct binding::FromPy<std::optional<vornix::python::frame::Flag>> {
    static PyResult<std::optional<vornix::python::frame::Flag>> convert(PyObject* object) {
        if (object == nullptr) return std::nullopt;
        auto value = FromPy<bool>::convert(object);
        if (!value) return fail(std::move(value.error()));
        return vornix::python::frame::Flag{*value};
    }
};
