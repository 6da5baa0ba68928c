#include "python/core_wrappers/polyline.h"

#include "geometry/geometry_engine.h"
#include "python/core_wrappers/common.h"
#include "python/core_wrappers/geometry_extend_options.h"
#include "python/core_wrappers/model_object.h"
#include "python/core_wrappers/point.h"

namespace vornix::python {

// The flags of `extend`: omitted means none, and None is refused like any other value that is not
// a GeometryExtendOptions.
struct ExtendFlags {
    uint32_t flags;
};

}  // namespace vornix::python

template <>
struct binding::FromPy<std::optional<vornix::python::ExtendFlags>> {
    static PyResult<std::optional<vornix::python::ExtendFlags>> convert(PyObject* object) {
        if (object == nullptr) return std::nullopt;
        auto options = FromPy<vornix::python::PyGeometryExtendOptions*>::convert(object);
        if (!options) return fail(std::move(options.error()));
        return vornix::python::ExtendFlags{(*options)->flags};
    }
};

namespace vornix::python {

using binding::fail;
using binding::PyResult;
using binding::Ref;
using core::geometry::VeltGeometryPolyline;
namespace mo = model_object;

namespace {

PyResult<PyPolyline> construct(PyObject* polyline) {
    return mo::from_py<PyPolyline>(polyline, "Polyline.push_part expects a Part or a dict");
}

PyResult<void> set_paths(PyPolyline& self, PyObject* value) {
    return mo::install(self, value, &multipart_from_py, &VeltGeometryPolyline::set_paths);
}
PyResult<void> set_curve_paths(PyPolyline& self, PyObject* value) {
    return mo::install(self, value, &curve_multipart_from_py, &VeltGeometryPolyline::set_curve_paths);
}

// The engine polylines of both, each built from its current model; both are destroyed on every path.
PyResult<Ref> extend(const PyPolyline& self, PyPolyline* extender, std::optional<ExtendFlags> extend_options) {
    auto line = raise_geo(PyPolyline::get_geom(self));
    if (!line) return fail(std::move(line.error()));
    auto other = raise_geo(PyPolyline::get_geom(*extender));
    if (!other) return fail(std::move(other.error()));
    auto extended = ::geometry::geometry_engine::extend(*line, *other, int32_t(extend_options.value_or(ExtendFlags{0}).flags));
    if (!extended) return fail(to_py_err(VeltGeoErr::from_engine(extended.error())));
    if (!*extended) return Ref::borrow(Py_None);
    auto result = PyPolyline::from_geom(std::move(**extended));
    if (!result) return fail(std::move(result.error()));
    return wrap_polyline(std::move(*result));
}

PyResult<double> fraction_along(const PyPolyline& self, PyPoint* point, double tolerance) {
    auto engine_point = raise_geo(point->get_geom());
    if (!engine_point) return fail(std::move(engine_point.error()));
    auto line = raise_geo(PyPolyline::get_geom(self));
    if (!line) return fail(std::move(line.error()));
    auto fraction = ::geometry::geometry_engine::fraction_along(*line, *engine_point, tolerance);
    if (!fraction) return fail(PyExc_TypeError, "fraction_along failed: " + fraction.error().display());
    return *fraction;
}

PyResult<Ref> with_point_along(const PyPolyline& self, double distance) {
    auto line = raise_geo(PyPolyline::get_geom(self));
    if (!line) return fail(std::move(line.error()));
    auto point = ::geometry::geometry_engine::with_point_along(*line, distance);
    if (!point) return fail(to_py_err(VeltGeoErr::from_engine(point.error())));
    auto made = PyPoint::from_geom(std::move(*point));
    if (!made) return fail(std::move(made.error()));
    return binding::Type<PyPoint>::wrap(std::move(*made));
}

constexpr char kName[] = "Polyline";
constexpr binding::Params kConstructorParams{"Polyline", {"polyline"}};
constexpr binding::Params kKxcGeoParams{"Polyline.__kxc_geo", {}};
constexpr binding::Params kExtendParams{"Polyline.extend", {"extender", "extend_options"}};
constexpr binding::Params kFractionAlongParams{"Polyline.fraction_along", {"point", "tolerance"}};
constexpr binding::Params kWithPointAlongParams{"Polyline.with_point_along", {"distance"}};

constexpr const char kExtendDoc[] =
    "extend($self, extender, extend_options=...)\n--\n\n"
    "Extends a polyline using a polyline as the extender using the type of extension specified with "
    "extendOptions.\n\n"
    "The first and last segment of each path are extended to the extender where they can be interpolated to "
    "meet it; when several extensions are possible the shortest is taken. Only path ends that are not shared "
    "with other paths are extended. Polylines with true curves are not supported and raise an exception.\n\n"
    "Args:\n"
    "    extender: the Polyline to extend to.\n"
    "    extend_options: a GeometryExtendOptions value; DEFAULT when omitted.\n\n"
    "Returns:\n"
    "    The extended Polyline, or None when the polyline cannot be extended.";

constexpr const char kFractionAlongDoc[] =
    "fraction_along($self, point, tolerance)\n--\n\n"
    "Finds the location on the line nearest the input point, expressed as the fraction of the line's length "
    "from its start.\n\n"
    "Args:\n"
    "    point: the Point to locate.\n"
    "    tolerance: the largest distance, in the units of the spatial reference, at which the point may lie "
    "from the line; NaN is returned when it is farther. With -1 the fraction of the closest location is "
    "returned whenever the point lies between the two ends.\n\n"
    "Returns:\n"
    "    A fraction between 0.0 and 1.0, or NaN.";


}  // namespace

binding::ClassSpec PyPolyline::class_spec() {
    using P = PyPolyline;
    using M = VeltGeometryPolyline;
    return {
        .name = "vornix_geometry.Polyline",
        .doc = "Polyline(polyline)\n--\n\n",
        .methods = {binding::method<kKxcGeoParams, mo::kxc_geo<P>>("__kxc_geo($self)\n--\n\n"),
                    binding::method<kExtendParams, extend>(kExtendDoc),
                    binding::method<kFractionAlongParams, fraction_along>(kFractionAlongDoc),
                    binding::method<kWithPointAlongParams, with_point_along>("with_point_along($self, distance)\n--\n\n")},
        .getsets =
            {
                binding::property<mo::view<P, &M::paths, wrap_multipart>, set_paths>("paths"),
                binding::property<mo::view<P, &M::curve_paths, wrap_curve_multipart>, set_curve_paths>(
                    "curve_paths"),
                binding::getter<mo::ask<P, &M::has_z>>("has_z"),
                binding::getter<mo::engine_json<P>>("JSON"),
                binding::getter<mo::ask<P, &M::has_m>>("has_m"),
                binding::getter<mo::ask<P, &M::is_empty>>("is_empty"),
                binding::property<mo::spatial_reference<P>, mo::set_spatial_reference<P>>("spatial_reference"),
                binding::getter<mo::none<P>>("ids"),
                binding::getter<mo::type_name<kName, P>>("geometry_type"),
            },
        .slots = {binding::str_slot<mo::veltjson<P>>(), binding::repr_slot<mo::veltjson<P>>()},
        .constructor = binding::constructor<kConstructorParams, construct>(),
        .base = &geometry_type,
        .subclassable = true,
    };
}

PyResult<PyPolyline> PyPolyline::from_dict(PyObject* dict) {
    return mo::multipart_from_dict<PyPolyline>(dict, common::keys::paths, common::keys::curve_paths);
}

PyResult<PyPolyline> PyPolyline::from_geom(::geometry::polyline::Polyline polyline, const core::geometry::ResultSr& sr) {
    return mo::from_model<PyPolyline>(VeltGeometryPolyline::from_immutable_polyline(std::move(polyline), sr));
}

GeoResult<::geometry::polyline::Polyline> PyPolyline::get_geom(const PyPolyline& self) {
    return mo::engine_geometry(self, [](const VeltGeometryPolyline& m) { return m.as_polyline(); });
}

PyResult<Ref> wrap_polyline(PyPolyline polyline) { return binding::Type<PyPolyline>::wrap(std::move(polyline)); }

}  // namespace vornix::python
