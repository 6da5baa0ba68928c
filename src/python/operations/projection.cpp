#include "python/operations/projection.h"

#include <optional>
#include <string_view>
#include <vector>

#include "geometry/environment.h"
#include "geometry/transformation_catalog.h"
#include "python/core_wrappers/envelope.h"
#include "python/core_wrappers/errors.h"
#include "python/core_wrappers/spatial_reference.h"
#include "python/operations/datum_transformation.h"
#include "python/operations/operation_frame.h"
#include "python/operations/operations.h"

namespace vornix::projection {

namespace {

namespace catalog = ::geometry::transformation_catalog;
using binding::fail;
using binding::PyResult;
using binding::Ref;
using python::frame::Flag;

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
        if (auto refused = binding::refuse_nul(value, **path, "The Tarnel directory"); !refused) return refused;
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

constexpr binding::Params kGetTarnelDir{"get_tarnel_dir", {}};
constexpr binding::Params kGetTransformations{
    "get_transformations", {"input_spatial_reference", "output_spatial_reference", "area_of_interest", "ignore_vertical"}};
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
// In the order they are added; the definitions live as long as the process.
std::vector<PyMethodDef>& functions() {
    static std::vector<PyMethodDef> all = [] {
        std::vector<PyMethodDef> defs{binding::function<kGetTarnelDir, get_tarnel_dir>(kGetTarnelDirDoc),
                                      binding::function<kGetTransformations, get_transformations>(kGetTransformationsDoc)};
        for (const PyMethodDef& def : python::operations::projection_functions()) defs.push_back(def);
        defs.push_back(binding::function<kSetTarnelDir, set_tarnel_dir>(kSetTarnelDirDoc));
        return defs;
    }();
    return all;
}

}  // namespace

binding::PyResult<void> populate(PyObject* projection_module) {
    for (PyMethodDef& def : functions())
        if (auto added = binding::add_function(projection_module, def); !added) return added;
    return binding::add_class<PyDatumTransformation>(projection_module);
}

}  // namespace vornix::projection
