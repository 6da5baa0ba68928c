#include "python/core_wrappers/factory.h"

#include "base/fault.h"
#include "geometry/downcast.h"
#include "geometry/json_serializable.h"
#include "python/core_wrappers/common.h"
#include "python/core_wrappers/envelope.h"
#include "python/core_wrappers/errors.h"
#include "python/core_wrappers/model_object.h"
#include "python/core_wrappers/multipoint.h"
#include "python/core_wrappers/point.h"
#include "python/core_wrappers/polygon.h"
#include "python/core_wrappers/polyline.h"
#include "python/core_wrappers/spatial_reference.h"

namespace vornix::python::factory {

using binding::PyResult;
using binding::Ref;
using ::geometry::geometry::GeometryOwned;
using ::geometry::geometry_type::GeometryType;
namespace keys = common::keys;

namespace {

template <typename T>
PyResult<Ref> read_dict(PyObject* dict) {
    return model_object::wrap<T>(T::from_dict(dict));
}

// The kind has just been asked of the engine: the handle goes to the reader of that kind as it is,
// with no second question (reading results back is the larger part of most operations).
template <typename T, typename Engine>
PyResult<Ref> read_known(GeometryOwned geometry, const core::geometry::ResultSr& sr) {
    return model_object::wrap<T>(T::from_geom(Engine::from_handle(std::move(geometry).release()), sr));
}

// Only the spatial-reference keys are read, so {"latestWkt": ...} gives one with no field set.
PyResult<Ref> read_spatial_reference(PyObject* dict) {
    auto sr = raise_geo(common::sr_from_dict(dict));
    if (!sr) return binding::fail(std::move(sr.error()));
    return wrap_spatial_reference(std::move(*sr));
}

// The keys that choose a dictionary's reader, in the order they are tested: the first key present
// decides, whatever its value, so {"rings": ..., "paths": ...} is a polygon.
struct DictReader {
    const common::Key* key;
    PyResult<Ref> (*read)(PyObject* dict);
};

const DictReader kDictReaders[] = {
    {&keys::rings, &read_dict<PyPolygon>},
    {&keys::curve_rings, &read_dict<PyPolygon>},
    {&keys::paths, &read_dict<PyPolyline>},
    {&keys::curve_paths, &read_dict<PyPolyline>},
    {&keys::points, &read_dict<PyMultiPoint>},
    {&keys::x, &read_dict<PyPoint>},
    {&keys::xmin, &read_dict<PyEnvelope>},
    {&keys::wkid, &read_spatial_reference},
    {&keys::wkt, &read_spatial_reference},
    {&keys::latest_wkt, &read_spatial_reference},
};

PyResult<Ref> from_dict(PyObject* dict) {
    for (const DictReader& reader : kDictReaders) {
        PyObject* key = reader.key->object();
        if (key == nullptr) return binding::fail();
        int present = PyDict_Contains(dict, key);
        if (present < 0) return binding::fail();
        if (present == 1) return reader.read(dict);
    }
    Ref repr = Ref::steal(PyObject_Repr(dict));
    if (!repr) return binding::fail();
    return binding::fail(PyExc_ValueError,
                         "Dict missing keys to represent an Vornix geometry: " + binding::text_of(repr.get()));
}

PyResult<Ref> not_convertible(PyObject* object) {
    Ref repr = Ref::steal(PyObject_Repr(object));
    if (!repr) return binding::fail();
    return binding::fail(PyExc_TypeError, "Could not convert object " + binding::text_of(repr.get()) +
                                              " into Vornix geometry.  Geometry factory expects a dict or VeltJSON string");
}

// The engine's reader takes C strings, so text holding a NUL is refused here as input.
PyResult<Ref> from_text(PyObject* object, std::string_view text) {
    if (auto refused = binding::refuse_nul(object, text, "VeltJSON text"); !refused)
        return binding::fail(std::move(refused.error()));
    auto parsed = ::geometry::json_serializable::from_json(text);
    if (!parsed) return binding::fail(to_py_err(VeltGeoErr::from_engine(parsed.error())));
    auto owned = ::geometry::downcast::downcast<GeometryOwned>(std::move(*parsed));
    if (!owned) return binding::fail(to_py_err(VeltGeoErr::from_engine(owned.error())));
    return from_geometry_owned(std::move(*owned));
}

}  // namespace

PyResult<Ref> geometry(PyObject* object) {
    if (PyDict_Check(object)) return from_dict(object);
    auto text = common::get_py_str(object);
    if (!text) return not_convertible(object);
    return from_text(object, *text);
}

PyResult<Ref> from_geometry_owned(GeometryOwned geometry, const core::geometry::ResultSr& sr) {
    switch (geometry.object_type()) {
        case GeometryType::Point:
            return read_known<PyPoint, ::geometry::point::Point>(std::move(geometry), sr);
        case GeometryType::Envelope:
            return read_known<PyEnvelope, ::geometry::envelope::Envelope>(std::move(geometry), sr);
        case GeometryType::Polyline:
            return read_known<PyPolyline, ::geometry::polyline::Polyline>(std::move(geometry), sr);
        case GeometryType::Polygon:
            return read_known<PyPolygon, ::geometry::polygon::Polygon>(std::move(geometry), sr);
        case GeometryType::Multipoint:
            return read_known<PyMultiPoint, ::geometry::multipoint::Multipoint>(std::move(geometry), sr);
        case GeometryType::Unknown:
            break;
    }
    { GeometryOwned unknown = std::move(geometry); }
    return binding::fail(to_py_err(VeltGeoErr(core::geometry::ErrorKind::CorvaneLibrary,
                                              "Tried to convert geometry of unknown type into a python geometry")));
}

}  // namespace vornix::python::factory
