#include "python/core_wrappers/multipoint.h"

#include "python/core_wrappers/common.h"
#include "python/core_wrappers/model_object.h"
#include "python/core_wrappers/part_view.h"

namespace vornix::python {

using binding::PyResult;
using binding::Ref;
using core::geometry::VeltGeometryMultipoint;
namespace mo = model_object;

namespace {

PyResult<PyMultiPoint> construct(PyObject* multipoint) {
    return mo::from_py<PyMultiPoint>(multipoint, "MultiPoint from_py expects a MultiPoint or dict");
}


PyResult<void> set_points(PyMultiPoint& self, PyObject* value) {
    return mo::install(self, value, &part_from_py<core::geometry::VeltPart>, &VeltGeometryMultipoint::set_points);
}

constexpr char kName[] = "MultiPoint";
constexpr binding::Params kNewParams{"MultiPoint.__new__", {"multipoint"}};
constexpr binding::Params kKxcGeoParams{"MultiPoint.__kxc_geo", {}};

}  // namespace

PyResult<PyMultiPoint> PyMultiPoint::from_dict(PyObject* dict) {
    auto list = raise_geo(common::dict_lookup(dict, common::keys::points));
    if (!list) return binding::fail(std::move(list.error()));
    if (!*list)
        return binding::fail(to_py_err(
            VeltGeoErr(core::geometry::ErrorKind::Resolution, "Did not find points in multipoint dict")));
    if (auto checked = raise_geo(common::expect_list(list->get())); !checked)
        return binding::fail(std::move(checked.error()));
    auto dims = raise_geo(common::nested_geom_dict_dims(dict));
    if (!dims) return binding::fail(std::move(dims.error()));
    auto part = part_from_list<core::geometry::VeltPart>(list->get(), dims->first, dims->second);
    if (!part) return binding::fail(std::move(part.error()));
    auto sr = raise_geo(common::dict_sr(dict));
    if (!sr) return binding::fail(std::move(sr.error()));
    return mo::from_model<PyMultiPoint>(VeltGeometryMultipoint(std::move(*part), std::move(*sr)));
}

PyResult<PyMultiPoint> PyMultiPoint::from_geom(::geometry::multipoint::Multipoint multipoint, const core::geometry::ResultSr& sr) {
    return mo::from_model<PyMultiPoint>(VeltGeometryMultipoint::from_immutable_multipoint(std::move(multipoint), sr));
}

binding::ClassSpec PyMultiPoint::class_spec() {
    return {
        .name = "vornix_geometry.MultiPoint",
        .doc = "MultiPoint(multipoint)\n--\n\n",
        .methods = {binding::method<kKxcGeoParams, mo::kxc_geo<PyMultiPoint>>("__kxc_geo($self)\n--\n\n")},
        .getsets =
            {
                binding::property<mo::view<PyMultiPoint, &VeltGeometryMultipoint::points, wrap_part<core::geometry::VeltPart>>, set_points>("points"),
                binding::getter<mo::ask<PyMultiPoint, &VeltGeometryMultipoint::has_z>>("has_z"),
                binding::getter<mo::ask<PyMultiPoint, &VeltGeometryMultipoint::has_m>>("has_m"),
                binding::getter<mo::ask<PyMultiPoint, &VeltGeometryMultipoint::is_empty>>("is_empty"),
                binding::getter<mo::none<PyMultiPoint>>("ids"),
                binding::getter<mo::type_name<kName, PyMultiPoint>>("geometry_type"),
                binding::getter<mo::engine_json<PyMultiPoint>>("JSON"),
                binding::property<mo::spatial_reference<PyMultiPoint>, mo::set_spatial_reference<PyMultiPoint>>(
                    "spatial_reference"),
            },
        .slots = {binding::str_slot<mo::veltjson<PyMultiPoint>>(), binding::repr_slot<mo::veltjson<PyMultiPoint>>()},
        .constructor = binding::constructor<kNewParams, construct>(),
        .base = &vornix::python::geometry_type,
        .subclassable = true,
    };
}

}  // namespace vornix::python
