// The measures of Geometry: buffer, densify, area and length, each planar or geodetic. The
// dispatchers decide from the optional arguments alone, before `self` is converted, so a call
// that cannot run is refused without touching the engine. Densify, area and length are rows
// (operation_row.h) that also make densify_collection, area_collection and length_collection.
#include <optional>

#include "geometry/geometry_engine.h"
#include "python/core_wrappers/area_unit.h"
#include "python/core_wrappers/enums.h"
#include "python/core_wrappers/polygon.h"
#include "python/operations/operation_frame.h"
#include "python/operations/operation_row.h"
#include "python/operations/operations.h"

namespace vornix::python::operations {

namespace {

namespace engine = ::geometry::geometry_engine;
using binding::fail;
using binding::PyResult;
using binding::Ref;
using frame::GeometryOwned;
using frame::Nullable;
using ::geometry::linear_unit::LinearUnit;

using UnitArg = std::optional<PyLinearUnitId*>;
using CurveArg = std::optional<PyGeodeticCurveType*>;

// The engine unit of a given code (none without one); the engine's refusal is ValueError
// "Invalid LinearUnitId: ...".
PyResult<std::optional<LinearUnit>> linear_unit(const PyLinearUnitId* unit) {
    if (unit == nullptr) return std::optional<LinearUnit>();
    auto made = to_linear_unit(*unit);
    if (!made) return fail(std::move(made.error()));
    return std::optional<LinearUnit>(std::move(*made));
}

const LinearUnit* lent(const std::optional<LinearUnit>& unit) { return unit ? &*unit : nullptr; }

PyResult<Ref> planar_buffer(PyObject* self, double distance) {
    return frame::apply(self, [&](const GeometryOwned& g) { return engine::buffer(g, distance); });
}

// The unit is made before `self` and destroyed last.
PyResult<Ref> geodetic_buffer(PyObject* self, double distance, const PyLinearUnitId* unit, double max_deviation,
                              const PyGeodeticCurveType& curve_type) {
    auto engine_unit = linear_unit(unit);
    if (!engine_unit) return fail(std::move(engine_unit.error()));
    return frame::apply(self, [&](const GeometryOwned& g) {
        return engine::buffer_geodetic(g, lent(*engine_unit), curve_type.code, distance, max_deviation);
    });
}

PyResult<Ref> buffer(PyObject* self, double distance, UnitArg unit, std::optional<double> max_deviation,
                     CurveArg curve_type) {
    if (!unit) {
        if (!max_deviation && !curve_type) return planar_buffer(self, distance);
        return fail(PyExc_ValueError, "LinearUnitId must be provided for geodetic buffer");
    }
    if (!max_deviation) return fail(PyExc_ValueError, "max_deviation must be provided for geodetic buffer");
    if (!curve_type) return fail(PyExc_ValueError, "GeodeticCurveType must be provided for geodetic buffer");
    return geodetic_buffer(self, distance, *unit, *max_deviation, **curve_type);
}

PyResult<Ref> buffer_geodetic(PyObject* self, double distance, Nullable<PyLinearUnitId> unit, double max_deviation,
                              PyGeodeticCurveType* curve_type) {
    return geodetic_buffer(self, distance, unit.value, max_deviation, *curve_type);
}

// How a densify is asked: planar, or geodetic with an engine unit and a curve type.
struct Densification {
    double max_segment_length;
    std::optional<LinearUnit> unit;  // geodetic when present
    int32_t curve_type;
};

// The one decision, from the optional arguments alone: both or neither of unit and curve type.
// The engine unit is made here, so before `self` or the items.
PyResult<Densification> densification(double max_segment_length, const PyLinearUnitId* unit,
                                      const PyGeodeticCurveType* curve_type) {
    if (unit && curve_type) {
        auto engine_unit = linear_unit(unit);
        if (!engine_unit) return fail(std::move(engine_unit.error()));
        return Densification{max_segment_length, std::move(*engine_unit), curve_type->code};
    }
    if (unit) return fail(PyExc_ValueError, "GeodeticCurveType must be provided for geodetic densify");
    if (curve_type) return fail(PyExc_ValueError, "LinearUnitId must be provided for geodetic densify");
    return Densification{max_segment_length, std::nullopt, 0};
}

::geometry::Result<GeometryOwned> densified(const GeometryOwned& g, const Densification& how) {
    if (how.unit) return engine::densify_geodetic(g, &*how.unit, how.curve_type, how.max_segment_length);
    return engine::densify(g, how.max_segment_length);
}

// The argument forms of densify, _densify, _densify_geodetic and densify_collection.
PyResult<Densification> optional_form(double max_segment_length, UnitArg unit, CurveArg curve_type) {
    return densification(max_segment_length, unit.value_or(nullptr), curve_type.value_or(nullptr));
}
PyResult<Densification> planar_form(double max_segment_length) {
    return densification(max_segment_length, nullptr, nullptr);
}
PyResult<Densification> geodetic_form(double max_segment_length, PyLinearUnitId* unit, PyGeodeticCurveType* curve_type) {
    return densification(max_segment_length, unit, curve_type);
}
PyResult<Densification> nullable_form(double max_segment_length, Nullable<PyLinearUnitId> unit,
                                      Nullable<PyGeodeticCurveType> curve_type) {
    return densification(max_segment_length, unit.value, curve_type.value);
}

template <auto Form>
using Densify = Row<Form, densified, Operands::ItemFirst, Steps::ArgumentsFirst>;

// How an area is asked: planar, or geodetic along a curve type in a unit (square meters without
// one). The unit is either the caller's own, lent for the call, or a fresh engine unit made for it.
struct AreaMeasure {
    std::optional<int32_t> curve_type;  // geodetic when present
    const ::geometry::area_unit::AreaUnit* lent = nullptr;
    std::optional<PyAreaUnit> made;

    const ::geometry::area_unit::AreaUnit* unit() const { return made ? &made->unit : lent; }
};

::geometry::Result<double> measured_area(const GeometryOwned& g, const AreaMeasure& how) {
    if (how.curve_type) return engine::area_geodetic(g, how.unit(), *how.curve_type);
    return engine::area(g);
}

// A fresh engine unit of the code or of the object's unit, never the caller's own.
PyResult<std::optional<PyAreaUnit>> area_unit(PyObject* unit) {
    if (unit == nullptr) return std::optional<PyAreaUnit>();
    auto made = [&]() -> PyResult<PyAreaUnit> {
        if (auto* id = binding::Type<PyAreaUnitId>::value_of(unit)) return PyAreaUnit::new_from_unit_id(id->code);
        if (auto* object = binding::Type<PyAreaUnit>::value_of(unit)) return object->try_clone();
        return fail(PyExc_TypeError, "Expected an AreaUnit or AreaUnitId argument");
    }();
    if (!made) return fail(std::move(made.error()));
    return std::optional<PyAreaUnit>(std::move(*made));
}

// The argument forms of area, _area_planear, calculate_area, _area_geodetic and area_collection.
PyResult<AreaMeasure> planar_area_form() { return AreaMeasure{}; }
// The unit is resolved (and refused) even when the planar area, which takes none, is measured.
PyResult<AreaMeasure> calculated_area_form(CurveArg curve_type, std::optional<PyObject*> unit) {
    auto resolved = area_unit(unit.value_or(nullptr));
    if (!resolved) return fail(std::move(resolved.error()));
    AreaMeasure how{curve_type ? std::optional<int32_t>((*curve_type)->code) : std::nullopt, nullptr, std::move(*resolved)};
    return how;
}
PyResult<AreaMeasure> geodetic_area_form(PyGeodeticCurveType* curve_type, Nullable<PyAreaUnit> unit) {
    return AreaMeasure{curve_type->code, unit.value ? &unit.value->unit : nullptr, std::nullopt};
}
PyResult<AreaMeasure> collection_area_form(CurveArg curve_type, std::optional<PyAreaUnit*> unit) {
    if (!curve_type) return AreaMeasure{};
    return AreaMeasure{(*curve_type)->code, unit ? &(*unit)->unit : nullptr, std::nullopt};
}

template <auto Form, Steps MethodSteps = Steps::SelfFirst>
using Area = Row<Form, measured_area, Operands::ItemFirst, MethodSteps>;

// How a length is asked: planar, or geodetic along a curve type in a linear unit (meters without
// one). The unit is made only for a geodetic length, and after `self`.
struct LengthMeasure {
    std::optional<int32_t> curve_type;  // geodetic when present
    std::optional<LinearUnit> unit;
};

::geometry::Result<double> measured_length(const GeometryOwned& g, const LengthMeasure& how) {
    if (how.curve_type) return engine::length_geodetic(g, lent(how.unit), *how.curve_type);
    return engine::length(g);
}

PyResult<LengthMeasure> planar_length_form() { return LengthMeasure{}; }
PyResult<LengthMeasure> calculated_length_form(CurveArg curve_type, UnitArg unit) {
    if (!curve_type) return LengthMeasure{};
    auto engine_unit = linear_unit(unit.value_or(nullptr));
    if (!engine_unit) return fail(std::move(engine_unit.error()));
    return LengthMeasure{(*curve_type)->code, std::move(*engine_unit)};
}

template <auto Form>
using Length = Row<Form, measured_length>;

PyResult<Ref> area(PyObject* self) {
    if (binding::Type<PyPolygon>::value_of(self) == nullptr) return Ref::borrow(Py_None);
    return Area<planar_area_form>::method(self);
}

PyResult<Ref> length(PyObject* self) { return Length<planar_length_form>::method(self); }

constexpr binding::Params kBuffer{"Geometry.buffer", {"distance", "unit", "max_deviation", "curve_type"}};
constexpr binding::Params kPlanarBuffer{"Geometry._buffer", {"distance"}};
constexpr binding::Params kGeodeticBuffer{"Geometry._buffer_geodetic",
                                          {"distance", "unit", "max_deviation", "curve_type"}};
constexpr binding::Params kDensify{"Geometry.densify", {"max_segment_length", "unit", "curve_type"}};
constexpr binding::Params kPlanarDensify{"Geometry._densify", {"max_segment_length"}};
constexpr binding::Params kGeodeticDensify{"Geometry._densify_geodetic", {"max_segment_length", "unit", "curve_type"}};
constexpr binding::Params kCalculateArea{"Geometry.calculate_area", {"curve_type", "unit"}};
constexpr binding::Params kPlanarArea{"Geometry._area_planear", {}};
constexpr binding::Params kGeodeticArea{"Geometry._area_geodetic", {"curve_type", "unit"}};
constexpr binding::Params kCalculateLength{"Geometry.calculate_length", {"curve_type", "unit"}};

constexpr binding::Params kDensifyCollection{"densify_collection", {"geometries", "max_segment_length", "unit", "curve_type"}};

constexpr char kDensifyCollectionDoc[] =
    "densify_collection(geometries, max_segment_length, unit, curve_type)\n--\n\n"
    "Each geometry with vertices inserted so that no segment is longer than max_segment_length; shorter "
    "segments are left alone, and true curves come out as densified curves. With unit and curve_type both "
    "given the densification is geodetic, with both None planar.\n\n"
    "Args:\n    geometries: an iterable of geometries.\n"
    "    max_segment_length: the longest segment left, in the units of the spatial reference.\n"
    "    unit: a LinearUnitId or None.\n    curve_type: a GeodeticCurveType or None.\n\n"
    "Returns:\n    A list of new geometries, in the order of the input.";
constexpr binding::Params kAreaCollection{"area_collection", {"geometries", "curve_type", "unit"}};
constexpr char kAreaCollectionDoc[] =
    "area_collection(geometries, curve_type=None, unit=None)\n--\n\n"
    "The combined area of the geometries: geodetic when a curve_type is given, else planar in the units "
    "of the spatial reference (unit then plays no part).\n\n"
    "Args:\n    geometries: an iterable of geometries.\n    curve_type: a GeodeticCurveType or None.\n"
    "    unit: an AreaUnit or None (geodetic area; square meters when None).\n\n"
    "Returns:\n    A float; 0.0 for an empty collection.";
constexpr binding::Params kLengthCollection{"length_collection", {"geometries"}};
constexpr char kLengthCollectionDoc[] =
    "length_collection(geometries)\n--\n\n"
    "The total planar length of the geometries, in the units of their spatial references; a sum over "
    "mixed spatial references may be meaningless.\n\n"
    "Args:\n    geometries: an iterable of geometries.\n\n"
    "Returns:\n    A float; 0.0 for an empty collection.";
constexpr char kBufferDoc[] =
    "buffer($self, distance, unit=None, max_deviation=None, curve_type=None)\n--\n\n"
    "Constructs a polygon at the given distance around the geometry.\n\n"
    "Without the geodetic arguments the buffer is planar and the distance is in the units of the "
    "geometry's spatial reference. Giving unit, max_deviation and curve_type makes it geodetic.\n\n"
    "Args:\n"
    "    distance: the buffer distance.\n"
    "    unit: the LinearUnitId of the distance (geodetic buffer).\n"
    "    max_deviation: the largest allowed deviation between a true curve of the result and its "
    "densified form (geodetic buffer).\n"
    "    curve_type: the GeodeticCurveType along which the geometry's own segments run (geodetic "
    "buffer); the distance is the geodesic one whatever the type.\n\n"
    "Returns:\n    A new Polygon.";
constexpr char kDensifyDoc[] =
    "densify($self, max_segment_length, unit=None, curve_type=None)\n--\n\n"
    "Adds vertices so that no segment is longer than max_segment_length, in the units of the geometry's "
    "spatial reference; shorter segments get no new vertices. Giving unit and curve_type densifies "
    "geodetically.\n\n"
    "Args:\n"
    "    max_segment_length: the longest segment allowed.\n"
    "    unit: the LinearUnitId of the length (geodetic densify).\n"
    "    curve_type: the GeodeticCurveType (geodetic densify).\n\n"
    "Returns:\n    A new geometry.";
constexpr char kCalculateAreaDoc[] =
    "calculate_area($self, curve_type=None, unit=None)\n--\n\n"
    "The area of the geometry: planar, in the units of the spatial reference, or geodetic when a "
    "curve_type is given.\n\n"
    "Args:\n"
    "    curve_type: a GeodeticCurveType for a geodetic area.\n"
    "    unit: an AreaUnit or AreaUnitId for the geodetic area; square meters when omitted.\n\n"
    "Returns:\n    A float.";
constexpr char kCalculateLengthDoc[] =
    "calculate_length($self, curve_type=None, unit=None)\n--\n\n"
    "The length of the geometry: planar, in the units of the spatial reference, or geodetic when a "
    "curve_type is given.\n\n"
    "Args:\n"
    "    curve_type: a GeodeticCurveType; it makes the length geodetic.\n"
    "    unit: the LinearUnitId of the geodetic length; meters are assumed when it is omitted.\n\n"
    "Returns:\n    A float.";

}  // namespace

std::vector<PyMethodDef> measure_methods() {
    return {
        binding::method<kBuffer, buffer>(kBufferDoc),
        binding::method<kPlanarBuffer, planar_buffer>("_buffer($self, distance)\n--\n\n"),
        binding::method<kGeodeticBuffer, buffer_geodetic>(
            "_buffer_geodetic($self, distance, unit, max_deviation, curve_type)\n--\n\n"),
        binding::method<kDensify, Densify<optional_form>::method>(kDensifyDoc),
        binding::method<kPlanarDensify, Densify<planar_form>::method>("_densify($self, max_segment_length)\n--\n\n"),
        binding::method<kGeodeticDensify, Densify<geodetic_form>::method>(
            "_densify_geodetic($self, max_segment_length, unit, curve_type)\n--\n\n"),
        binding::method<kCalculateArea, Area<calculated_area_form, Steps::ArgumentsFirst>::method>(kCalculateAreaDoc),
        binding::method<kPlanarArea, Area<planar_area_form>::method>("_area_planear($self)\n--\n\n"),
        binding::method<kGeodeticArea, Area<geodetic_area_form>::method>("_area_geodetic($self, curve_type, unit)\n--\n\n"),
        binding::method<kCalculateLength, Length<calculated_length_form>::method>(kCalculateLengthDoc),
    };
}

std::vector<PyMethodDef> measure_functions() {
    return {
        binding::function<kDensifyCollection, Densify<nullable_form>::collection>(kDensifyCollectionDoc),
        binding::function<kAreaCollection, Area<collection_area_form>::sum>(kAreaCollectionDoc),
        binding::function<kLengthCollection, Length<planar_length_form>::sum>(kLengthCollectionDoc),
    };
}

std::vector<PyGetSetDef> measure_properties() {
    return {
        binding::getter<area>("area", "The planar area of a Polygon, in the units of its spatial reference; None "
                                      "for every other geometry."),
        binding::getter<length>("length", "The planar length of the geometry, in the units of its spatial reference."),
    };
}

}  // namespace vornix::python::operations
