#include "python/utils/submodule.h"

#include "python/utils/conversion.h"
#include "python/utils/is_clockwise.h"
#include "python/utils/sequence.h"

namespace vornix::utils {
namespace {

binding::PyResult<bool> is_clockwise_of(PyObject* coords) {
    if (!is_sequence(coords)) return binding::fail(binding::argument_error("coords", binding::cast_error(coords, "Sequence")));
    return is_clockwise(coords);
}

constexpr binding::Params is_clockwise_params{"is_clockwise", {"coords"}};
constexpr binding::Params wkb_to_veltjson_params{"wkb_to_veltjson_dict", {"wkb"}};
constexpr binding::Params wkb_to_geojson_params{"wkb_to_geojson_dict", {"wkb"}};
constexpr binding::Params wkt_to_veltjson_params{"wkt_to_veltjson_dict", {"wkt"}};
constexpr binding::Params wkt_to_geojson_params{"wkt_to_geojson_dict", {"wkt"}};

// In the order of registration, which is also the order of __all__.
PyMethodDef functions[] = {
    binding::function<is_clockwise_params, is_clockwise_of>(
        "is_clockwise(coords)\n--\n\n"
        "Returns True if the vertices run clockwise and False if they run counter-clockwise.\n\n"
        "`coords` must contain at least three distinct points."),
    binding::function<wkb_to_veltjson_params, wkb_to_veltjson_dict>("wkb_to_veltjson_dict(wkb)\n--\n\n"),
    binding::function<wkb_to_geojson_params, wkb_to_geojson_dict>("wkb_to_geojson_dict(wkb)\n--\n\n"),
    binding::function<wkt_to_veltjson_params, wkt_to_veltjson_dict>("wkt_to_veltjson_dict(wkt)\n--\n\n"),
    binding::function<wkt_to_geojson_params, wkt_to_geojson_dict>("wkt_to_geojson_dict(wkt)\n--\n\n"),
};

}  // namespace

binding::PyResult<void> populate(PyObject* utils_module) {
    for (PyMethodDef& def : functions)
        if (auto added = binding::add_function(utils_module, def); !added) return added;
    return {};
}

}  // namespace vornix::utils
