// Collection functions with no Geometry method of the same body: the label points (a polygon's own
// label point comes from its class, the Geometry property gives every other kind the centre of its
// extent) and the difference fold. (Relation tests, measures and maps over a collection are rows.)
#include <vector>

#include "geometry/downcast.h"
#include "geometry/geometry_engine.h"
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
using python::frame::GeometryOwned;
using python::frame::GeometryParam;

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

constexpr binding::Params kLabelPoint{"label_point_collection", {"geometries"}};
constexpr binding::Params kDifferenceFold{"difference_geom_minus_collection", {"primary", "collection"}};

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
        binding::function<kLabelPoint, label_point_collection>(kLabelPointDoc),
        binding::function<kDifferenceFold, difference_geom_minus_collection>(kDifferenceFoldDoc),
    };
}

}  // namespace vornix::collections
