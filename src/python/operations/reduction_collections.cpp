// Collection functions that reduce an iterable to one value or measure each item: sums, per-item
// values, and the difference fold. (The relation tests over a collection are rows of relations.cpp.)
#include <optional>
#include <vector>

#include "geometry/downcast.h"
#include "geometry/geometry_engine.h"
#include "python/core_wrappers/area_unit.h"
#include "python/core_wrappers/enums.h"
#include "python/operations/collection_functions.h"
#include "python/operations/iterable_adapter.h"

namespace vornix::collections {

namespace {

namespace engine = ::geometry::geometry_engine;
using binding::fail;
using binding::PyResult;
using binding::Ref;
using python::collections::engine_answer;
using python::collections::for_each_geometry;
using python::collections::iterate;
using python::frame::GeometryOwned;
using python::frame::GeometryParam;

// The planar fold reads through an adapter: a bad item or a raising iterator ends the stream,
// and its error is raised once the fold is over.
PyResult<double> planar_area_sum(PyObject* geometries) {
    python::collections::PendingError pending;
    auto adapter = python::collections::adapt<GeometryOwned>(geometries, pending);
    if (!adapter) return fail(std::move(adapter.error()));
    double sum = 0.0;
    while (auto item = (*adapter)()) sum += engine::area(*item);
    adapter->release();
    return python::collections::decide(::geometry::Result<double>(sum), pending);
}

PyResult<double> area_collection(PyObject* geometries, std::optional<python::PyGeodeticCurveType*> curve_type,
                                 std::optional<python::PyAreaUnit*> unit) {
    if (!curve_type) return planar_area_sum(geometries);
    auto iterator = iterate(geometries);
    if (!iterator) return fail(std::move(iterator.error()));
    const ::geometry::area_unit::AreaUnit* engine_unit = unit ? &(*unit)->unit : nullptr;
    const int32_t code = (*curve_type)->code;
    return python::collections::sum_over(geometries, iterator->get(),
                    [&](const GeometryOwned& item) { return engine::area_geodetic(item, engine_unit, code); });
}

// A polygon's engine label point; for every other geometry the centre of its extent.
::geometry::Result<::geometry::point::Point> label_point_of(const GeometryOwned& item) {
    if (auto polygon = ::geometry::downcast::downcast_ref<::geometry::polygon::Polygon>(item))
        return engine::label_point(*polygon);
    return item.extent().center();
}

PyResult<Ref> label_point_collection(PyObject* geometries) {
    return python::collections::values_collection<::geometry::point::Point>(geometries, label_point_of);
}

PyResult<Ref> difference_geom_minus_collection(GeometryParam primary, PyObject* collection) {
    auto inputs = python::collections::fixed_and_iterator(primary, collection, false);
    if (!inputs) return fail(std::move(inputs.error()));
    GeometryOwned rest = std::move(inputs->geometry);
    auto read = for_each_geometry(collection, inputs->iterator.get(), [&](const GeometryOwned& item) -> PyResult<bool> {
        auto less = engine_answer(engine::difference(rest, item));
        if (!less) return fail(std::move(less.error()));
        rest = std::move(*less);
        return true;
    });
    if (!read) return fail(std::move(read.error()));
    inputs->iterator = Ref();
    return python::frame::into_object(std::move(rest));
}

constexpr binding::Params kArea{"area_collection", {"geometries", "curve_type", "unit"}};
constexpr binding::Params kLabelPoint{"label_point_collection", {"geometries"}};
constexpr binding::Params kDifferenceFold{"difference_geom_minus_collection", {"primary", "collection"}};

constexpr char kAreaDoc[] =
    "area_collection(geometries, curve_type=None, unit=None)\n--\n\n"
    "The combined area of the geometries: geodetic when a curve_type is given, else planar in the units "
    "of the spatial reference (unit then plays no part).\n\n"
    "Args:\n    geometries: an iterable of geometries.\n    curve_type: a GeodeticCurveType or None.\n"
    "    unit: an AreaUnit or None (geodetic area; square meters when None).\n\n"
    "Returns:\n    A float; 0.0 for an empty collection.";
constexpr char kLabelPointDoc[] =
    "label_point_collection(geometries)\n--\n\n"
    "A point for labelling each geometry: an interior point for a polygon, the centre point for every "
    "other geometry.\n\n"
    "Args:\n    geometries: an iterable of geometries.\n\n"
    "Returns:\n    A list of Points in the order of the input.";
constexpr char kDifferenceFoldDoc[] =
    "difference_geom_minus_collection(primary, collection)\n--\n\n"
    "The parts of the primary geometry that are not shared with any geometry of the collection.\n\n"
    "Args:\n    primary: a Geometry.\n    collection: an iterable of geometries.\n\n"
    "Returns:\n    A new geometry.";


}  // namespace

std::vector<PyMethodDef> reduction_functions() {
    return {
        binding::function<kArea, area_collection>(kAreaDoc),
        binding::function<kLabelPoint, label_point_collection>(kLabelPointDoc),
        binding::function<kDifferenceFold, difference_geom_minus_collection>(kDifferenceFoldDoc),
    };
}

}  // namespace vornix::collections
