#include "python/core_wrappers/polyline.h"

#include "geometry/geometry_engine.h"
#include "python/common.h"
#include "python/core_wrappers/curve_multipart.h"
#include "python/core_wrappers/errors.h"
#include "python/core_wrappers/geometry_extend_options.h"
#include "python/core_wrappers/locked.h"
#include "python/core_wrappers/multipart.h"
#include "python/core_wrappers/point.h"
#include "python/core_wrappers/spatial_reference.h"

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
using core::geometry::lock_model;
using core::geometry::Shared;
using core::geometry::VeltGeometryPolyline;

namespace {

// Runs `op` on the model under its lock; a poisoned model is the lock error, raised once the lock
// is released.
template <typename Op>
auto with_model(const PyPolyline& self, Op&& op) -> PyResult<std::invoke_result_t<Op, VeltGeometryPolyline&>> {
    using R = std::invoke_result_t<Op, VeltGeometryPolyline&>;
    return raise_geo<R>(with_locked(self.model, std::forward<Op>(op)));
}

// The same for operations whose own result is a model result.
template <typename Op>
auto with_model_geo(const PyPolyline& self, Op&& op) {
    auto outcome = with_model(self, std::forward<Op>(op));
    using Inner = typename std::decay_t<decltype(*outcome)>::value_type;
    if (!outcome) return PyResult<Inner>(std::unexpected(std::move(outcome.error())));
    return raise_geo(std::move(*outcome));
}

PyResult<PyPolyline> hold(GeoResult<VeltGeometryPolyline> model) {
    auto built = raise_geo(std::move(model));
    if (!built) return fail(std::move(built.error()));
    PyPolyline polyline;
    polyline.model = core::geometry::make_shared_cell(std::move(*built));
    return polyline;
}

PyResult<PyPolyline> construct(PyObject* polyline) {
    if (auto* other = binding::Type<PyPolyline>::value_of(polyline)) return *other;
    if (PyDict_Check(polyline)) return PyPolyline::from_dict(polyline);
    return fail(PyExc_TypeError, "Polyline.push_part expects a Part or a dict");
}

PyResult<bool> get_has_z(const PyPolyline& self) {
    return with_model(self, [](VeltGeometryPolyline& m) { return m.has_z(); });
}
PyResult<bool> get_has_m(const PyPolyline& self) {
    return with_model(self, [](VeltGeometryPolyline& m) { return m.has_m(); });
}
PyResult<bool> get_is_empty(const PyPolyline& self) {
    return with_model(self, [](VeltGeometryPolyline& m) { return m.is_empty(); });
}
PyResult<std::string> get_json(const PyPolyline& self) {
    return with_model_geo(self, [](VeltGeometryPolyline& m) { return m.to_json(); });
}
PyResult<Ref> get_ids(const PyPolyline&) { return Ref::borrow(Py_None); }
const char* get_geometry_type(const PyPolyline&) { return "Polyline"; }

PyResult<Ref> get_paths(const PyPolyline& self) {
    auto paths = with_model(self, [](VeltGeometryPolyline& m) { return m.paths(); });
    if (!paths) return fail(std::move(paths.error()));
    return wrap_multipart(std::move(*paths));
}
PyResult<Ref> get_curve_paths(const PyPolyline& self) {
    auto paths = with_model(self, [](VeltGeometryPolyline& m) { return m.curve_paths(); });
    if (!paths) return fail(std::move(paths.error()));
    return wrap_curve_multipart(std::move(*paths));
}

// The value is read into a collection first; the model is locked only to install it.
template <auto FromPy, auto Install>
PyResult<void> set_collection(const PyPolyline& self, PyObject* value) {
    auto has_z = get_has_z(self);
    if (!has_z) return fail(std::move(has_z.error()));
    auto has_m = get_has_m(self);
    if (!has_m) return fail(std::move(has_m.error()));
    auto collection = FromPy(value, *has_z, *has_m);
    if (!collection) return fail(std::move(collection.error()));
    return with_model_geo(self, [&](VeltGeometryPolyline& m) { return (m.*Install)(std::move(*collection)); });
}

PyResult<Ref> get_spatial_reference(const PyPolyline& self) {
    auto sr = with_model(self, [](VeltGeometryPolyline& m) { return m.sr(); });
    if (!sr) return fail(std::move(sr.error()));
    if (!*sr) return Ref::borrow(Py_None);
    return wrap_spatial_reference(std::move(**sr));
}

// The dict is read with no lock held, so that Python code it reaches may use this polyline; the
// poisoned-lock check still comes first.
PyResult<void> set_spatial_reference(const PyPolyline& self, PyObject* value) {
    if (auto checked = with_model(self, [](VeltGeometryPolyline&) {}); !checked) return checked;
    if (!PyDict_Check(value)) return fail(to_py_err(cast_geo_err(value, "dict")));
    auto sr = raise_geo(common::sr_from_dict(value));
    if (!sr) return fail(std::move(sr.error()));
    return with_model(self, [&](VeltGeometryPolyline& m) { m.set_sr(std::move(*sr)); });
}

PyResult<Ref> kxc_geo(const PyPolyline& self) {
    auto geometry = with_model_geo(self, [](VeltGeometryPolyline& m) { return m.as_geometry_owned(); });
    if (!geometry) return fail(std::move(geometry.error()));
    return new_kxc_geo(std::move(*geometry));
}

PyResult<std::string> text(const PyPolyline& self) {
    return with_model(self, [](VeltGeometryPolyline& m) {
        std::string out;
        m.write_veltjson(out);
        return out;
    });
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

PyResult<PyTypeObject*> base() { return geometry_type(); }

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
    return {
        .name = "vornix_geometry.Polyline",
        .doc = "Polyline(polyline)\n--\n\n",
        .methods = {binding::method<kKxcGeoParams, kxc_geo>("__kxc_geo($self)\n--\n\n"),
                    binding::method<kExtendParams, extend>(kExtendDoc),
                    binding::method<kFractionAlongParams, fraction_along>(kFractionAlongDoc),
                    binding::method<kWithPointAlongParams, with_point_along>("with_point_along($self, distance)\n--\n\n")},
        .getsets = {binding::property<get_paths, set_collection<multipart_from_py, &VeltGeometryPolyline::set_paths>>(
                        "paths"),
                    binding::property<get_curve_paths,
                                      set_collection<curve_multipart_from_py, &VeltGeometryPolyline::set_curve_paths>>(
                        "curve_paths"),
                    binding::getter<get_has_z>("has_z"), binding::getter<get_json>("JSON"),
                    binding::getter<get_has_m>("has_m"), binding::getter<get_is_empty>("is_empty"),
                    binding::property<get_spatial_reference, set_spatial_reference>("spatial_reference"),
                    binding::getter<get_ids>("ids"), binding::getter<get_geometry_type>("geometry_type")},
        .slots = {binding::str_slot<text>(), binding::repr_slot<text>()},
        .constructor = binding::constructor<kConstructorParams, construct>(),
        .base = &base,
        .subclassable = true,
    };
}

PyResult<PyPolyline> PyPolyline::from_dict(PyObject* dict) {
    auto dims = raise_geo(common::nested_geom_dict_dims(dict));
    if (!dims) return fail(std::move(dims.error()));
    auto [has_z, has_m] = *dims;
    std::vector<Shared<core::geometry::VeltPart>> paths;
    std::vector<Shared<core::geometry::VeltCurvePart>> curve_paths;
    auto read_parts = [&](const common::Key& key, auto read, auto& into) -> PyResult<void> {
        auto value = raise_geo(common::dict_lookup(dict, key));
        if (!value) return fail(std::move(value.error()));
        if (*value == nullptr) return {};
        if (!PyList_Check(*value)) return fail(binding::cast_error(*value, "list"));
        auto parts = read(*value, has_z, has_m);
        if (!parts) return fail(std::move(parts.error()));
        into = std::move(*parts);
        return {};
    };
    if (auto read = read_parts(common::keys::paths, multipart_input_vec_from_list, paths); !read)
        return fail(std::move(read.error()));
    if (auto read = read_parts(common::keys::curve_paths, curve_multipart_input_vec_from_list, curve_paths); !read)
        return fail(std::move(read.error()));
    auto sr = raise_geo(common::dict_sr(dict));
    if (!sr) return fail(std::move(sr.error()));
    return hold(VeltGeometryPolyline::try_new_with_curves(has_z, has_m, std::move(paths), std::move(curve_paths),
                                                          std::move(*sr)));
}

PyResult<PyPolyline> PyPolyline::try_from_owned(::geometry::geometry::GeometryOwned geometry) {
    return hold(VeltGeometryPolyline::try_from_owned(std::move(geometry)));
}

PyResult<PyPolyline> PyPolyline::from_geom(::geometry::polyline::Polyline polyline) {
    return hold(VeltGeometryPolyline::from_immutable_polyline(std::move(polyline)));
}

GeoResult<::geometry::polyline::Polyline> PyPolyline::get_geom(const PyPolyline& self) {
    auto model = lock_model(*self.model);
    if (!model) return std::unexpected(std::move(model.error()));
    return (*model)->as_polyline();
}

PyResult<Ref> wrap_polyline(PyPolyline polyline) { return binding::Type<PyPolyline>::wrap(std::move(polyline)); }

}  // namespace vornix::python
