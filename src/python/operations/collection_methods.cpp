// The static collection methods of Geometry: one engine batch call over whole iterables, read
// lazily through iterable adapters, with the error rule deciding what reaches Python.
#include <optional>
#include <string>

#include "geometry/geometry_engine.h"
#include "python/core_wrappers/errors.h"
#include "python/operations/batch_buffers.h"
#include "python/operations/iterable_adapter.h"
#include "python/operations/operations.h"

namespace vornix::python::operations {

namespace {

namespace engine = ::geometry::geometry_engine;
using binding::fail;
using binding::PyResult;
using binding::Ref;
using frame::GeometryOwned;

// The answer of a call whose flag asks for one geometry: that one alone; an empty answer is an
// empty list whatever the flag; several where one was asked is the library error `several`.
// Otherwise the list, each result released in engine form as soon as it is a Python object.
PyResult<Ref> single_or_list(PyResult<engine::GeometryItems> answer, bool single, const char* several) {
    if (!answer) return fail(std::move(answer.error()));
    if (!single) return frame::into_object(std::move(*answer));
    auto count = answer->size();
    if (!count) return fail(frame::library_error(count.error()));
    if (*count == 0) return frame::into_object(std::move(*answer));
    if (*count > 1) return fail(to_py_err(VeltGeoErr(core::geometry::ErrorKind::CorvaneLibrary, several)));
    std::optional<GeometryOwned> one;
    auto read = std::move(*answer).drain([&](GeometryOwned&& item) {
        one = std::move(item);
        return false;
    });
    if (!read) return fail(frame::library_error(read.error()));
    return frame::into_object(std::move(*one));
}

PyResult<Ref> union_collection(PyObject* geometries) {
    return frame::raised(collections::batch(geometries, [](auto& items) { return engine::union_collection(items); }));
}

PyResult<Ref> combine_extents_collection(PyObject* geometries) {
    return frame::raised(collections::batch(geometries, [](auto& items) { return engine::combine_extents_collection(items); }));
}

PyResult<Ref> convex_hull_collection(PyObject* geometries, bool merge) {
    auto hulls = collections::batch(geometries, [&](auto& items) { return engine::convex_hull_collection(items, merge); });
    return single_or_list(std::move(hulls), merge,
                          "Internal error: Did not get a singular geometry from engine with merge set to true");
}

// The union's one polygon alone (several where one was asked is the library error; none is an
// empty list), else the list.
PyResult<Ref> buffer_collection(PyObject* geometries, PyObject* distances, bool union_result) {
    auto buffers = collections::planar_buffers(geometries, distances, union_result);
    if (!buffers || !union_result || PyList_GET_SIZE(buffers->get()) == 0) return buffers;
    if (PyList_GET_SIZE(buffers->get()) > 1)
        return fail(to_py_err(VeltGeoErr(core::geometry::ErrorKind::CorvaneLibrary,
                                         "Internal error: Did not get a singular geometry from engine with union_result set to true")));
    return Ref::borrow(PyList_GET_ITEM(buffers->get(), 0));
}

PyResult<Ref> auto_complete(PyObject* existing_boundaries, PyObject* new_boundaries) {
    auto polygons = collections::batch_pair<GeometryOwned>(existing_boundaries, new_boundaries, [](auto& existing, auto& added) {
        return engine::auto_complete(existing, added);
    });
    return frame::raised(std::move(polygons));
}

constexpr binding::Params kUnion{"Geometry.union_collection", {"geometries"}};
constexpr binding::Params kCombineExtents{"Geometry.combine_extents_collection", {"geometries"}};
constexpr binding::Params kConvexHull{"Geometry.convex_hull_collection", {"geometries", "merge"}};
constexpr binding::Params kBuffer{"Geometry.buffer_collection", {"geometries", "distances", "union_result"}};
constexpr binding::Params kAutoComplete{"Geometry.auto_complete", {"existing_boundaries", "new_boundaries"}};

constexpr char kCombineExtentsDoc[] =
    "combine_extents_collection(geometries)\n--\n\n"
    "The minimum extent that encloses all the geometries.\n\n"
    "Args:\n    geometries: an iterable of geometries.\n\n"
    "Returns:\n    An Envelope.";
constexpr char kConvexHullDoc[] =
    "convex_hull_collection(geometries, merge)\n--\n\n"
    "The convex hulls of the geometries: with merge True one hull that encloses all of them, with merge "
    "False one hull per geometry. An empty input gives an empty result.\n\n"
    "Args:\n    geometries: an iterable of geometries.\n    merge: a bool.\n\n"
    "Returns:\n    One geometry when merge is True, else a list of geometries.";
constexpr char kBufferDoc[] =
    "buffer_collection(geometries, distances, union_result)\n--\n\n"
    "Planar buffers of the geometries, one distance per geometry, in the units of the spatial reference. "
    "With union_result True the buffers are unioned into one result. An empty input gives an empty "
    "result.\n\n"
    "Args:\n    geometries: an iterable of geometries.\n    distances: an iterable of floats.\n"
    "    union_result: a bool.\n\n"
    "Returns:\n    One geometry when union_result is True, else a list of polygons.";
constexpr char kAutoCompleteDoc[] =
    "auto_complete(existing_boundaries, new_boundaries)\n--\n\n"
    "New polygons that fill the closed gaps between the existing polygon boundaries (polygons or "
    "envelopes) and the new boundary polylines. An empty input gives an empty result.\n\n"
    "Args:\n    existing_boundaries: an iterable of polygons or envelopes.\n"
    "    new_boundaries: an iterable of polylines.\n\n"
    "Returns:\n    A list of polygons.";

}  // namespace

std::vector<PyMethodDef> collection_methods() {
    return {
        binding::static_method<kUnion, union_collection>("union_collection(geometries)\n--\n\n"),
        binding::static_method<kCombineExtents, combine_extents_collection>(kCombineExtentsDoc),
        binding::static_method<kConvexHull, convex_hull_collection>(kConvexHullDoc),
        binding::static_method<kBuffer, buffer_collection>(kBufferDoc),
        binding::static_method<kAutoComplete, auto_complete>(kAutoCompleteDoc),
    };
}

}  // namespace vornix::python::operations
