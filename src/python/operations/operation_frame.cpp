#include "python/operations/operation_frame.h"

#include "core/geometry/errors.h"
#include "python/core_wrappers/errors.h"
#include "python/core_wrappers/factory.h"
#include "python/core_wrappers/polygon.h"

namespace vornix::python::frame {

using binding::fail;
using binding::PyResult;
using binding::Ref;

binding::PyErr library_error(const Error& error) { return to_py_err(VeltGeoErr::from_engine(error)); }

PyResult<GeometryOwned> engine_geometry(PyObject* object) { return geom_from_pyobj(object); }

PyResult<Ref> into_object(bool value) { return binding::into_py(value); }
PyResult<Ref> into_object(double value) { return binding::into_py(value); }

namespace {
template <size_t N>
PyResult<Ref> tuple_of(const std::array<double, N>& values) {
    Ref tuple = Ref::steal(PyTuple_New(N));
    if (!tuple) return fail();
    for (size_t i = 0; i < N; ++i) {
        PyObject* item = PyFloat_FromDouble(values[i]);
        if (item == nullptr) return fail();
        PyTuple_SET_ITEM(tuple.get(), i, item);
    }
    return tuple;
}
}  // namespace

PyResult<Ref> into_object(std::array<double, 2> pair) { return tuple_of(pair); }
PyResult<Ref> into_object(std::array<double, 4> corners) { return tuple_of(corners); }
PyResult<Ref> into_object(GeometryOwned geometry) { return factory::from_geometry_owned(std::move(geometry)); }

PyResult<Ref> into_object(::geometry::polygon::Polygon polygon) {
    auto value = PyPolygon::from_geom(std::move(polygon));
    if (!value) return fail(std::move(value.error()));
    return binding::Type<PyPolygon>::wrap(std::move(*value));
}

PyResult<Ref> into_object(::geometry::envelope::Envelope envelope) {
    auto value = PyEnvelope::from_geom(std::move(envelope));
    if (!value) return fail(std::move(value.error()));
    return binding::Type<PyEnvelope>::wrap(std::move(*value));
}

PyResult<Ref> into_object(::geometry::point::Point point) {
    auto value = PyPoint::from_geom(std::move(point));
    if (!value) return fail(std::move(value.error()));
    return binding::Type<PyPoint>::wrap(std::move(*value));
}

PyResult<Ref> into_object(std::optional<GeometryOwned> geometry) {
    if (!geometry) return Ref::borrow(Py_None);
    return into_object(std::move(*geometry));
}

namespace {

// The values in order (vector<bool> gives proxies, hence the copy out); on the first failure the rest are destroyed with the vector and the
// objects made so far with the list.
template <typename G>
PyResult<Ref> list_of(std::vector<G> geometries) {
    // Made at its final length: appending one by one would copy the growing list again and again.
    Ref list = Ref::steal(PyList_New(static_cast<Py_ssize_t>(geometries.size())));
    if (!list) return fail();
    for (std::size_t i = 0; i < geometries.size(); ++i) {
        auto object = into_object(G(std::move(geometries[i])));
        if (!object) return fail(std::move(object.error()));
        PyList_SET_ITEM(list.get(), static_cast<Py_ssize_t>(i), std::move(*object).release());
    }
    return list;
}

template <typename T>
PyResult<void> append_all(PyObject* list, ::geometry::array::Items<T> items) {
    std::optional<binding::PyErr> failed;
    auto read = std::move(items).drain([&](T&& item) {
        auto object = into_object(std::move(item));
        if (!object) failed = std::move(object.error());
        else if (PyList_Append(list, object->get()) != 0) failed = binding::PyErr::fetch();
        return !failed;
    });
    if (failed) return fail(std::move(*failed));
    if (!read) return fail(library_error(read.error()));
    return {};
}

template <typename T>
PyResult<Ref> list_of_items(::geometry::array::Items<T> items) {
    Ref list = Ref::steal(PyList_New(0));
    if (!list) return fail();
    if (auto appended = append_all(list.get(), std::move(items)); !appended) return fail(std::move(appended.error()));
    return list;
}

}  // namespace

PyResult<Ref> into_object(::geometry::array::Items<GeometryOwned> items) { return list_of_items(std::move(items)); }
PyResult<Ref> into_object(::geometry::array::Items<::geometry::polygon::Polygon> items) {
    return list_of_items(std::move(items));
}

PyResult<void> append_items(PyObject* list, ::geometry::array::Items<::geometry::polygon::Polygon> items) {
    return append_all(list, std::move(items));
}

PyResult<Ref> into_object(std::vector<GeometryOwned> geometries) { return list_of(std::move(geometries)); }
PyResult<Ref> into_object(std::vector<::geometry::polygon::Polygon> polygons) { return list_of(std::move(polygons)); }
PyResult<Ref> into_object(std::vector<::geometry::point::Point> points) { return list_of(std::move(points)); }
PyResult<Ref> into_object(std::vector<bool> values) { return list_of(std::move(values)); }
PyResult<Ref> into_object(std::vector<double> values) { return list_of(std::move(values)); }

// Appended one by one, the list grows in place; a list made at its final length, or room reserved
// for the objects, would be one large block mapped afresh and faulted in by every call.
PyResult<void> append_geometries(PyObject* list, std::vector<GeometryOwned>& geometries,
                                  const core::geometry::ResultSr& sr) {
    PyResult<void> appended;
    for (GeometryOwned& geometry : geometries) {
        auto object = factory::from_geometry_owned(std::move(geometry), sr);
        if (!object) appended = fail(std::move(object.error()));
        else if (PyList_Append(list, object->get()) != 0) appended = fail();
        if (!appended) break;
    }
    geometries.clear();  // keeps its room for the next batch
    return appended;
}

PyResult<std::optional<::geometry::point::Point>> origin_point(Nullable<PyPoint> origin) {
    if (origin.value == nullptr) return std::optional<::geometry::point::Point>();
    auto point = raise_geo(origin.value->get_geom());
    if (!point) return fail(std::move(point.error()));
    return std::optional<::geometry::point::Point>(std::move(*point));
}

PyResult<::geometry::envelope::Envelope> engine_envelope(const PyEnvelope& envelope) {
    return raise_geo(envelope.get_geom());
}

}  // namespace vornix::python::frame

binding::PyResult<vornix::python::frame::GeometryParam> binding::FromPy<vornix::python::frame::GeometryParam>::convert(
    PyObject* object) {
    auto type = vornix::python::geometry_type();
    if (!type) return fail(std::move(type.error()));
    if (!PyObject_TypeCheck(object, *type)) return fail(cast_error(object, "Geometry"));
    return vornix::python::frame::GeometryParam{object};
}
