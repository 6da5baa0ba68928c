#include "python/core_wrappers/polyline.h"

#include "python/common.h"
#include "python/core_wrappers/model_object.h"

namespace vornix::python {

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

constexpr char kName[] = "Polyline";
constexpr binding::Params kConstructorParams{"Polyline", {"polyline"}};
constexpr binding::Params kKxcGeoParams{"Polyline.__kxc_geo", {}};

}  // namespace

binding::ClassSpec PyPolyline::class_spec() {
    using P = PyPolyline;
    using M = VeltGeometryPolyline;
    return {
        .name = "vornix_geometry.Polyline",
        .doc = "Polyline(polyline)\n--\n\n",
        .methods = {binding::method<kKxcGeoParams, mo::kxc_geo<P>>("__kxc_geo($self)\n--\n\n")},
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

PyResult<PyPolyline> PyPolyline::try_from_owned(::geometry::geometry::GeometryOwned geometry) {
    return mo::try_from_owned<PyPolyline>(std::move(geometry));
}

PyResult<PyPolyline> PyPolyline::from_geom(::geometry::polyline::Polyline polyline) {
    return mo::from_model<PyPolyline>(VeltGeometryPolyline::from_immutable_polyline(std::move(polyline)));
}

GeoResult<::geometry::polyline::Polyline> PyPolyline::get_geom(const PyPolyline& self) {
    return mo::engine_geometry(self, [](const VeltGeometryPolyline& m) { return m.as_polyline(); });
}

PyResult<Ref> wrap_polyline(PyPolyline polyline) { return binding::Type<PyPolyline>::wrap(std::move(polyline)); }

}  // namespace vornix::python
