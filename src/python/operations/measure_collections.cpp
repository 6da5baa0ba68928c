// The module's buffer of whole collections, planar or geodetic (chosen by the linear unit).
#include <optional>

#include "python/core_wrappers/enums.h"
#include "python/operations/batch_buffers.h"
#include "python/operations/collection_functions.h"

namespace vornix::collections {
// A number that may be omitted (its default then applies) but never passed as None.
struct Number {
    double value;
};
}  // namespace vornix::collections

template <>
struct binding::FromPy<std::optional<vornix::collections::Number>> {
    static PyResult<std::optional<vornix::collections::Number>> convert(PyObject* object) {
        if (object == nullptr) return std::nullopt;
        auto value = FromPy<double>::convert(object);
        if (!value) return fail(std::move(value.error()));
        return vornix::collections::Number{*value};
    }
};

namespace vornix::collections {

namespace {

using binding::fail;
using binding::PyResult;
using binding::Ref;
using python::PyGeodeticCurveType;
using python::PyLinearUnitId;
using python::frame::Flag;

PyResult<Ref> buffer_collection(PyObject* geometries, PyObject* distances, std::optional<Flag> union_result,
                                std::optional<PyLinearUnitId*> distance_unit, std::optional<Number> max_deviation,
                                std::optional<PyGeodeticCurveType*> curve_type) {
    const bool unioned = union_result && union_result->value;
    if (!distance_unit) return python::collections::planar_buffers(geometries, distances, unioned);
    auto unit = python::to_linear_unit(**distance_unit);
    if (!unit) return fail(std::move(unit.error()));
    const double deviation = max_deviation ? max_deviation->value : 0.0;
    const int32_t code = curve_type ? (*curve_type)->code : int32_t{KX_CURVE_TYPE_GreatElliptic};
    return python::collections::geodetic_buffers(geometries, distances, unioned, *unit, code, deviation);
}

constexpr binding::Params kBuffer{
    "buffer_collection", {"geometries", "distances", "union_result", "distance_unit", "max_deviation", "curve_type"}};

constexpr char kBufferDoc[] =
    "buffer_collection(geometries, distances, union_result=False, distance_unit=None, max_deviation=0.0, "
    "curve_type=...)\n--\n\n"
    "A buffer polygon around each geometry. Without distance_unit the buffer is planar, in the units of "
    "the spatial reference, and inaccurate in spatial references that do not preserve area. Negative "
    "distances shrink polygons and may collapse them to empty geometries. With union_result True the "
    "result holds a single polygon. An empty geometries gives an empty list. When there are fewer distances "
    "than geometries, the last distance applies to the remaining geometries, so a single distance applies "
    "to all.\n\n"
    "Args:\n    geometries: an iterable of geometries.\n    distances: an iterable of floats.\n"
    "    union_result: a bool; True unions the buffers.\n"
    "    distance_unit: a LinearUnitId; giving it makes the buffer geodetic.\n"
    "    max_deviation: the largest deviation between a true curve and its densified form (geodetic "
    "buffer), in the units of the spatial reference.\n"
    "    curve_type: the GeodeticCurveType of the geodetic buffer; GreatElliptic by default.\n\n"
    "Returns:\n    A list of Polygons.";

}  // namespace

std::vector<PyMethodDef> buffer_functions() {
    return {
        binding::function<kBuffer, buffer_collection>(kBufferDoc),
    };
}

}  // namespace vornix::collections
