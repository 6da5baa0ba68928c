#include "python/core_wrappers/point.h"

#include <cmath>
#include <limits>

#include "python/core_wrappers/common.h"
#include "python/core_wrappers/model_object.h"

namespace vornix::python {

using binding::PyResult;
using binding::Ref;
using core::geometry::GeoResult;
using core::geometry::VeltGeometryPoint;
namespace mo = model_object;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

GeoResult<VeltGeometryPoint> read_dict(PyObject* dict) {
    VeltGeometryPoint point;
    auto x = common::dict_extract(dict, common::keys::x);
    if (!x) return std::unexpected(std::move(x.error()));
    auto y = common::dict_extract(dict, common::keys::y);
    if (!y) return std::unexpected(std::move(y.error()));
    auto z = common::dict_extract_opt<double>(dict, common::keys::z);
    if (!z) return std::unexpected(std::move(z.error()));
    auto m = common::dict_extract_opt<double>(dict, common::keys::m);
    if (!m) return std::unexpected(std::move(m.error()));
    auto sr = common::dict_sr(dict);
    if (!sr) return std::unexpected(std::move(sr.error()));
    return VeltGeometryPoint{*x, *y, *z, *m, std::move(*sr), std::nullopt};
}

PyResult<PyPoint> construct(PyObject* point) {
    return mo::from_py<PyPoint>(point, "Point from_py expects a Point object or a dict");
}

// One getter and one setter per ordinate: None empties x or y (NaN) and removes z or m.
template <double VeltGeometryPoint::*Field>
PyResult<double> get_xy(PyPoint& self) {
    return mo::locked(self.model, [](const VeltGeometryPoint& p) { return p.*Field; });
}
template <double VeltGeometryPoint::*Field>
PyResult<void> set_xy(PyPoint& self, std::optional<double> value) {
    return mo::locked(self.model, [&](VeltGeometryPoint& p) { p.*Field = value.value_or(kNaN); });
}
template <std::optional<double> VeltGeometryPoint::*Field>
PyResult<Ref> get_zm(PyPoint& self) {
    return mo::optional_into_py(mo::locked(self.model, [](const VeltGeometryPoint& p) { return p.*Field; }));
}
template <std::optional<double> VeltGeometryPoint::*Field>
PyResult<void> set_zm(PyPoint& self, std::optional<double> value) {
    return mo::locked(self.model, [&](VeltGeometryPoint& p) { p.*Field = value; });
}

PyResult<bool> has_z(PyPoint& self) {
    return mo::locked(self.model, [](const VeltGeometryPoint& p) { return p.z.has_value(); });
}
PyResult<bool> has_m(PyPoint& self) {
    return mo::locked(self.model, [](const VeltGeometryPoint& p) { return p.m.has_value(); });
}

constexpr char kName[] = "Point";
constexpr binding::Params kNewParams{"Point.__new__", {"point"}};
constexpr binding::Params kKxcGeoParams{"Point.__kxc_geo", {}};

}  // namespace

PyResult<PyPoint> PyPoint::from_dict(PyObject* dict) { return mo::from_model<PyPoint>(read_dict(dict)); }

// Reading a point back cannot fail, so the model goes straight into its cell, moved once: a point is
// read back for every item of a projected collection.
PyResult<PyPoint> PyPoint::from_geom(::geometry::point::Point point, const core::geometry::ResultSr& sr) {
    return PyPoint{{}, core::geometry::make_shared_cell(VeltGeometryPoint::from_immutable_point(std::move(point), sr))};
}

GeoResult<::geometry::point::Point> PyPoint::get_geom() const {
    return mo::engine_geometry(*this, [](const VeltGeometryPoint& p) { return p.as_point(); });
}

binding::ClassSpec PyPoint::class_spec() {
    return {
        .name = "vornix_geometry.Point",
        .doc = "Point(point)\n--\n\n",
        .methods = {binding::method<kKxcGeoParams, mo::kxc_geo<PyPoint>>("__kxc_geo($self)\n--\n\n")},
        .getsets =
            {
                named_property<get_xy<&VeltGeometryPoint::x>, set_xy<&VeltGeometryPoint::x>>("x", "x_in"),
                named_property<get_xy<&VeltGeometryPoint::y>, set_xy<&VeltGeometryPoint::y>>("y", "y_in"),
                binding::property<get_zm<&VeltGeometryPoint::z>, set_zm<&VeltGeometryPoint::z>>("z"),
                binding::property<get_zm<&VeltGeometryPoint::m>, set_zm<&VeltGeometryPoint::m>>("m"),
                binding::getter<has_z>("has_z"),
                binding::getter<has_m>("has_m"),
                binding::getter<has_m>("hasM"),
                binding::getter<mo::ask<PyPoint, &VeltGeometryPoint::is_empty>>("is_empty"),
                binding::getter<mo::none<PyPoint>>("id"),
                binding::getter<mo::type_name<kName, PyPoint>>("geometry_type"),
                binding::getter<mo::engine_json<PyPoint>>("JSON"),
                binding::property<mo::spatial_reference<PyPoint>, mo::set_spatial_reference<PyPoint>>("spatial_reference"),
            },
        .slots = {binding::str_slot<mo::veltjson<PyPoint>>(), binding::repr_slot<mo::veltjson<PyPoint>>()},
        .constructor = binding::constructor<kNewParams, construct>(),
        .base = &vornix::python::geometry_type,
        .subclassable = true,
    };
}

}  // namespace vornix::python
