#include "python/operations/projection.h"

#include <optional>
#include <string_view>

#include "geometry/environment.h"
#include "geometry/geometry_engine.h"
#include "geometry/transformation_catalog.h"
#include "python/core_wrappers/envelope.h"
#include "python/core_wrappers/errors.h"
#include "python/core_wrappers/spatial_reference.h"
#include "python/operations/datum_transformation.h"
#include "python/operations/iterable_adapter.h"

namespace vornix::projection {

namespace {

namespace engine = ::geometry::geometry_engine;
namespace catalog = ::geometry::transformation_catalog;
using binding::fail;
using binding::PyResult;
using binding::Ref;
using python::collections::map_collection;
using python::frame::Flag;
using python::frame::GeometryOwned;

PyResult<Ref> get_tarnel_dir() {
    auto directory = catalog::tarnel_directory();
    if (!directory) return Ref::borrow(Py_None);
    return binding::str_from_utf8(*directory);
}

// A path holding a NUL would reach the engine cut short: it is refused before anything is sent.
PyResult<void> set_tarnel_dir(PyObject* value) {
    auto path = binding::extract<std::optional<std::string_view>>(value, "value");
    if (!path) return fail(std::move(path.error()));
    if (*path)
        if (auto refused = python::frame::refuse_nul(value, **path, "The Tarnel directory"); !refused) return refused;
    ::geometry::environment::init();
    auto set = catalog::_set_tarnel_directory(*path);
    if (!set) return fail(python::frame::library_error(set.error()));
    return {};
}

PyResult<Ref> get_transformations(PyObject* input_spatial_reference, PyObject* output_spatial_reference,
                                  std::optional<PyObject*> area_of_interest, std::optional<Flag> ignore_vertical) {
    auto input = python::geom_sr_from_py(input_spatial_reference);
    if (!input) return fail(std::move(input.error()));
    auto output = python::geom_sr_from_py(output_spatial_reference);
    if (!output) return fail(std::move(output.error()));
    std::optional<::geometry::envelope::Envelope> area;
    if (area_of_interest) {
        auto envelope = python::PyEnvelope::from_py(*area_of_interest);
        if (!envelope) return fail(std::move(envelope.error()));
        auto engine_envelope = python::frame::engine_envelope(*envelope);
        if (!engine_envelope) return fail(std::move(engine_envelope.error()));
        area = std::move(*engine_envelope);
    }
    auto found = catalog::get_transformations_by_suitability_with_area_of_interest_and_ignore_vertical(
        *input, *output, area ? &*area : nullptr, ignore_vertical && ignore_vertical->value);
    Ref list = Ref::steal(PyList_New(0));
    if (!list) return fail();
    for (auto& transformation : found) {
        auto object = wrap(std::move(transformation));
        if (!object) return fail(std::move(object.error()));
        if (PyList_Append(list.get(), object->get()) != 0) return fail();
    }
    return list;
}

// Every projected geometry carries the target (the engine's contract), so its model form is read
// from the engine once for the call rather than once for each result.
template <typename Project>
PyResult<Ref> project_each(PyObject* geometries, const ::geometry::spatial_reference::SpatialReference& target,
                           Project&& project) {
    const std::optional<core::geometry::SpatialReference> target_model = core::geometry::sr_convert(target);
    return map_collection(geometries, std::forward<Project>(project), core::geometry::ResultSr(target_model));
}

PyResult<Ref> project_collection(PyObject* geometries, PyObject* spatial_reference) {
    auto sr = python::geom_sr_from_py(spatial_reference);
    if (!sr) return fail(std::move(sr.error()));
    return project_each(geometries, *sr, [&](const GeometryOwned& item) { return engine::project(item, *sr); });
}

PyResult<Ref> project_collection_with_transformation(PyObject* geometries, PyObject* spatial_reference,
                                                     PyDatumTransformation* datum_transformation) {
    auto sr = python::geom_sr_from_py(spatial_reference);
    if (!sr) return fail(std::move(sr.error()));
    return project_each(geometries, *sr, [&](const GeometryOwned& item) {
        return engine::project_with_transformation(item, *sr, datum_transformation->transformation);
    });
}

constexpr binding::Params kGetTarnelDir{"get_tarnel_dir", {}};
constexpr binding::Params kGetTransformations{
    "get_transformations", {"input_spatial_reference", "output_spatial_reference", "area_of_interest", "ignore_vertical"}};
constexpr binding::Params kProjectCollection{"project_collection", {"geometries", "spatial_reference"}};
constexpr binding::Params kProjectWith{"project_collection_with_transformation",
                                       {"geometries", "spatial_reference", "datum_transformation"}};
constexpr binding::Params kSetTarnelDir{"set_tarnel_dir", {"value"}};

constexpr char kGetTarnelDirDoc[] =
    "get_tarnel_dir()\n--\n\n"
    "The directory of the Tarnel data files on the local file system, or None when none is set. Set it "
    "once at process start, before any geometry or projection work.";
constexpr char kSetTarnelDirDoc[] =
    "set_tarnel_dir(value)\n--\n\n"
    "Sets the directory of the Tarnel data files on the local file system; None clears it. Set it once at "
    "process start, before any geometry or projection work.\n\n"
    "Args:\n    value: a str or None.";
constexpr char kGetTransformationsDoc[] =
    "get_transformations(input_spatial_reference, output_spatial_reference, area_of_interest=None, "
    "ignore_vertical=False)\n--\n\n"
    "The datum transformations suitable for projecting between the two spatial references, most suitable "
    "first. The area of interest can change their number and order; with none (None or empty) the whole "
    "world is assumed. An area of interest that does not meet the input spatial reference's area of use "
    "gives an empty list; one in another spatial reference is reprojected to the input one. An empty list "
    "also means that no transformation is needed (the same underlying geographic coordinate system and, "
    "for vertical transformations, the same datums). With ignore_vertical True only horizontal "
    "(geographic) transformations are considered. For projected spatial references the underlying "
    "geographic ones are used, so the transformations' input and output spatial references are those base "
    "geographic systems. Transformations whose Tarnel data files are missing may be listed; their "
    "is_missing_tarnel_files() is True.\n\n"
    "Args:\n    input_spatial_reference: a SpatialReference or dict.\n"
    "    output_spatial_reference: a SpatialReference or dict.\n"
    "    area_of_interest: an Envelope, an envelope dict or None.\n    ignore_vertical: a bool.\n\n"
    "Returns:\n    A list of DatumTransformation.";
constexpr char kProjectCollectionDoc[] =
    "project_collection(geometries, spatial_reference)\n--\n\n"
    "Projects each geometry into the spatial reference, as Geometry.project does.\n\n"
    "Args:\n    geometries: an iterable of geometries.\n    spatial_reference: a SpatialReference or dict.\n\n"
    "Returns:\n    A list of new geometries, in the order of the input.";
constexpr char kProjectWithDoc[] =
    "project_collection_with_transformation(geometries, spatial_reference, datum_transformation)\n--\n\n"
    "Projects each geometry into the spatial reference with the datum transformation, as "
    "Geometry.project_with_transformation does.\n\n"
    "Args:\n    geometries: an iterable of geometries.\n    spatial_reference: a SpatialReference or dict.\n"
    "    datum_transformation: a DatumTransformation.\n\n"
    "Returns:\n    A list of new geometries, in the order of the input.";

PyMethodDef functions[] = {
    binding::function<kGetTarnelDir, get_tarnel_dir>(kGetTarnelDirDoc),
    binding::function<kGetTransformations, get_transformations>(kGetTransformationsDoc),
    binding::function<kProjectCollection, project_collection>(kProjectCollectionDoc),
    binding::function<kProjectWith, project_collection_with_transformation>(kProjectWithDoc),
    binding::function<kSetTarnelDir, set_tarnel_dir>(kSetTarnelDirDoc),
};

}  // namespace

binding::PyResult<void> populate(PyObject* projection_module) {
    for (PyMethodDef& def : functions)
        if (auto added = binding::add_function(projection_module, def); !added) return added;
    return binding::add_class<PyDatumTransformation>(projection_module);
}

}  // namespace vornix::projection
