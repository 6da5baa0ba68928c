#include "python/core_wrappers/polygon.h"

#include <cmath>

#include "geometry/geometry_engine.h"

#include "python/core_wrappers/common.h"
#include "python/core_wrappers/curve_multipart.h"
#include "python/core_wrappers/model_object.h"
#include "python/core_wrappers/multipart.h"
#include "python/core_wrappers/point.h"
#include "python/core_wrappers/polyline.h"

namespace vornix::python {

using binding::PyResult;
using binding::Ref;
using core::geometry::GeoResult;
using core::geometry::Shared;
using core::geometry::VeltGeometryPolygon;
namespace mo = model_object;

namespace {

PyResult<PyPolygon> construct(PyObject* polygon) {
    return mo::from_py<PyPolygon>(polygon, "Polygon.push_part expects a Part or a dict");
}

bool is_polygon(PyPolygon&) { return true; }


PyResult<void> set_rings(PyPolygon& self, PyObject* value) {
    return mo::install(self, value, &multipart_from_py, &VeltGeometryPolygon::set_rings);
}
PyResult<void> set_curve_rings(PyPolygon& self, PyObject* value) {
    return mo::install(self, value, &curve_multipart_from_py, &VeltGeometryPolygon::set_curve_rings);
}

bool same_ordinate(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

template <typename P>
bool is_open(const P& part) {
    if (part.len() < 2) return false;
    auto first = part.get(0);
    auto last = part.get(part.len() - 1);
    for (std::size_t i = 0; i < core::geometry::flat_len(first->dims()); ++i)
        if (!same_ordinate(first->flat(i), last->flat(i))) return true;
    return false;
}

// Rings come back from the engine without their repeated closing vertex; as paths they would lack
// the closing edge and so describe another line. Each open path gets its first vertex again.
void close_paths(core::geometry::VeltGeometryPolyline& polyline) {
    auto paths = core::geometry::lock_or_stop(*polyline.paths(), "Lock poisoned");
    for (auto& cell : paths->lines()) {
        auto part = core::geometry::lock_or_stop(*cell, "Lock poisoned");
        if (is_open(*part)) part->insert_coord(part->len(), *part->get(0));
    }
    auto curve_paths = core::geometry::lock_or_stop(*polyline.curve_paths(), "Lock poisoned");
    for (auto& cell : curve_paths->lines()) {
        auto part = core::geometry::lock_or_stop(*cell, "Lock poisoned");
        if (is_open(part->part())) (void)part->push(*part->part().get(0), core::geometry::Line{});
    }
}

PyResult<Ref> polyline(PyPolygon& self) {
    auto engine = mo::with_model(self.model, [](const VeltGeometryPolygon& p) { return p.to_polyline(); });
    if (!engine) return binding::fail(std::move(engine.error()));
    auto value = PyPolyline::from_geom(std::move(*engine));
    if (!value) return binding::fail(std::move(value.error()));
    close_paths(*core::geometry::lock_or_stop(*value->model, "Lock poisoned"));
    return wrap_polyline(std::move(*value));
}

PyResult<::geometry::point::Point> with_model_label(PyPolygon& self) {
    return mo::with_model(self.model, [](const VeltGeometryPolygon& p) -> GeoResult<::geometry::point::Point> {
        auto polygon = p.as_polygon();
        if (!polygon) return std::unexpected(std::move(polygon.error()));
        auto label = ::geometry::geometry_engine::label_point(*polygon);
        if (!label) return std::unexpected(VeltGeoErr::from_engine(label.error()));
        return std::move(*label);
    });
}

// The engine's label point; the engine polygon lives only for the call.
PyResult<Ref> label_point(PyPolygon& self) {
    auto point = with_model_label(self);
    if (!point) return binding::fail(std::move(point.error()));
    return mo::wrap<PyPoint>(PyPoint::from_geom(std::move(*point)));
}

constexpr char kName[] = "Polygon";
constexpr binding::Params kNewParams{"Polygon.__new__", {"polygon"}};
constexpr binding::Params kKxcGeoParams{"Polygon.__kxc_geo", {}};
constexpr binding::Params kIsPolygonParams{"Polygon.is_polygon", {}};
constexpr binding::Params kLabelPointParams{"Polygon.label_point", {}};

}  // namespace

PyResult<PyPolygon> PyPolygon::from_dict(PyObject* dict) {
    return mo::multipart_from_dict<PyPolygon>(dict, common::keys::rings, common::keys::curve_rings);
}

PyResult<PyPolygon> PyPolygon::from_geom(::geometry::polygon::Polygon polygon, const core::geometry::ResultSr& sr) {
    return mo::from_model<PyPolygon>(VeltGeometryPolygon::from_immutable_polygon(std::move(polygon), sr));
}

binding::ClassSpec PyPolygon::class_spec() {
    return {
        .name = "vornix_geometry.Polygon",
        .doc = "Polygon(polygon)\n--\n\n",
        .methods =
            {
                binding::method<kLabelPointParams, label_point>("label_point($self)\n--\n\n"),
                binding::method<kIsPolygonParams, is_polygon>("is_polygon($self)\n--\n\n"),
                binding::method<kKxcGeoParams, mo::kxc_geo<PyPolygon>>("__kxc_geo($self)\n--\n\n"),
            },
        .getsets =
            {
                binding::property<mo::view<PyPolygon, &VeltGeometryPolygon::rings, wrap_multipart>, set_rings>("rings"),
                binding::property<mo::view<PyPolygon, &VeltGeometryPolygon::curve_rings, wrap_curve_multipart>, set_curve_rings>(
                    "curve_rings"),
                binding::property<mo::spatial_reference<PyPolygon>, mo::set_spatial_reference<PyPolygon>>(
                    "spatial_reference"),
                binding::getter<mo::ask<PyPolygon, &VeltGeometryPolygon::has_z>>("has_z"),
                binding::getter<mo::ask<PyPolygon, &VeltGeometryPolygon::has_m>>("has_m"),
                binding::getter<mo::ask<PyPolygon, &VeltGeometryPolygon::is_empty>>("is_empty"),
                binding::getter<mo::engine_json<PyPolygon>>("JSON"),
                binding::getter<polyline>("polyline"),
                binding::getter<mo::none<PyPolygon>>("ids"),
                binding::getter<mo::type_name<kName, PyPolygon>>("geometry_type"),
            },
        .slots = {binding::str_slot<mo::veltjson<PyPolygon>>(), binding::repr_slot<mo::veltjson<PyPolygon>>()},
        .constructor = binding::constructor<kNewParams, construct>(),
        .base = &vornix::python::geometry_type,
        .subclassable = true,
    };
}

}  // namespace vornix::python
