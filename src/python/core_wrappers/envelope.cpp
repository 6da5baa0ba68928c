#include "python/core_wrappers/envelope.h"

#include <limits>

#include "python/core_wrappers/common.h"
#include "python/core_wrappers/model_object.h"

namespace vornix::python {

using binding::PyResult;
using binding::Ref;
using core::geometry::GeoResult;
using core::geometry::VeltGeometryEnvelope;
namespace mo = model_object;
namespace keys = common::keys;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

template <typename V>
GeoResult<void> read_into(V& field, GeoResult<V> value) {
    if (!value) return std::unexpected(std::move(value.error()));
    field = std::move(*value);
    return {};
}

// Fields in the order they are read; the first failure ends the read.
GeoResult<VeltGeometryEnvelope> read_dict(PyObject* dict) {
    VeltGeometryEnvelope e;
    const std::pair<const common::Key*, double*> bounds[] = {
        {&keys::xmin, &e.xmin}, {&keys::ymin, &e.ymin}, {&keys::xmax, &e.xmax}, {&keys::ymax, &e.ymax}};
    for (auto [key, field] : bounds)
        if (auto read = read_into(*field, common::dict_extract(dict, *key)); !read) return std::unexpected(std::move(read.error()));
    const std::pair<const common::Key*, std::optional<double>*> ranges[] = {
        {&keys::zmin, &e.zmin}, {&keys::zmax, &e.zmax}, {&keys::mmin, &e.mmin}, {&keys::mmax, &e.mmax}};
    for (auto [key, field] : ranges)
        if (auto read = read_into(*field, common::dict_extract_opt<double>(dict, *key)); !read)
            return std::unexpected(std::move(read.error()));
    const std::pair<const common::Key*, std::optional<uint32_t>*> ids[] = {{&keys::idmin, &e.idmin},
                                                                           {&keys::idmax, &e.idmax}};
    for (auto [key, field] : ids)
        if (auto read = read_into(*field, common::dict_extract_opt<uint32_t>(dict, *key)); !read)
            return std::unexpected(std::move(read.error()));
    if (auto read = read_into(e.sr, common::dict_sr(dict)); !read) return std::unexpected(std::move(read.error()));
    return e;
}

PyResult<PyEnvelope> construct(PyObject* point) { return PyEnvelope::from_py(point); }

// x and y bounds: None stores NaN (an empty envelope when it is xmin).
template <double VeltGeometryEnvelope::*Field>
PyResult<double> get_bound(PyEnvelope& self) {
    return mo::locked(self.model, [](const VeltGeometryEnvelope& e) { return e.*Field; });
}
template <double VeltGeometryEnvelope::*Field>
PyResult<void> set_bound(PyEnvelope& self, std::optional<double> value) {
    return mo::locked(self.model, [&](VeltGeometryEnvelope& e) { e.*Field = value.value_or(kNaN); });
}
// z and m bounds and ids: None makes the field absent.
template <typename V, std::optional<V> VeltGeometryEnvelope::*Field>
PyResult<Ref> get_optional(PyEnvelope& self) {
    return mo::optional_into_py(mo::locked(self.model, [](const VeltGeometryEnvelope& e) { return e.*Field; }));
}
template <typename V, std::optional<V> VeltGeometryEnvelope::*Field>
PyResult<void> set_optional(PyEnvelope& self, std::optional<V> value) {
    return mo::locked(self.model, [&](VeltGeometryEnvelope& e) { e.*Field = value; });
}

template <double VeltGeometryEnvelope::*Field>
PyGetSetDef bound(const char* name, const char* argument) {
    return named_property<get_bound<Field>, set_bound<Field>>(name, argument);
}
template <typename V, std::optional<V> VeltGeometryEnvelope::*Field>
PyGetSetDef optional_field(const char* name) {
    return binding::property<get_optional<V, Field>, set_optional<V, Field>>(name);
}

PyResult<bool> has_z(PyEnvelope& self) {
    return mo::locked(self.model, [](const VeltGeometryEnvelope& e) { return e.zmin.has_value(); });
}
PyResult<bool> has_m(PyEnvelope& self) {
    return mo::locked(self.model, [](const VeltGeometryEnvelope& e) { return e.mmin.has_value(); });
}

constexpr char kName[] = "Envelope";
constexpr binding::Params kNewParams{"Envelope.__new__", {"point"}};
constexpr binding::Params kKxcGeoParams{"Envelope.__kxc_geo", {}};

}  // namespace

PyResult<PyEnvelope> PyEnvelope::from_py(PyObject* object) {
    return mo::from_py<PyEnvelope>(object, "Envelope from_py expects an Envelope object or dict");
}

PyResult<PyEnvelope> PyEnvelope::from_dict(PyObject* dict) { return mo::from_model<PyEnvelope>(read_dict(dict)); }

PyResult<PyEnvelope> PyEnvelope::from_geom(::geometry::envelope::Envelope envelope, const core::geometry::ResultSr& sr) {
    return mo::from_model<PyEnvelope>(VeltGeometryEnvelope::from_immutable_envelope(std::move(envelope), sr));
}

GeoResult<::geometry::envelope::Envelope> PyEnvelope::get_geom() const {
    return mo::engine_geometry(*this, [](const VeltGeometryEnvelope& e) { return e.as_envelope(); });
}

binding::ClassSpec PyEnvelope::class_spec() {
    using E = VeltGeometryEnvelope;
    return {
        .name = "vornix_geometry.Envelope",
        .doc = "Envelope(point)\n--\n\n",
        .methods = {binding::method<kKxcGeoParams, mo::kxc_geo<PyEnvelope>>("__kxc_geo($self)\n--\n\n")},
        .getsets =
            {
                bound<&E::xmin>("xmin", "xmin_in"),
                bound<&E::xmax>("xmax", "xmax_in"),
                bound<&E::ymin>("ymin", "ymin_in"),
                bound<&E::ymax>("ymax", "ymax_in"),
                optional_field<double, &E::zmin>("zmin"),
                optional_field<double, &E::zmax>("zmax"),
                optional_field<double, &E::mmin>("mmin"),
                optional_field<double, &E::mmax>("mmax"),
                optional_field<uint32_t, &E::idmin>("idmin"),
                optional_field<uint32_t, &E::idmax>("idmax"),
                binding::getter<has_z>("has_z"),
                binding::getter<has_m>("has_m"),
                binding::getter<mo::ask<PyEnvelope, &VeltGeometryEnvelope::is_empty>>("is_empty"),
                binding::getter<mo::type_name<kName, PyEnvelope>>("geometry_type"),
                binding::property<mo::spatial_reference<PyEnvelope>, mo::set_spatial_reference<PyEnvelope>>("spatial_reference"),
            },
        .slots = {binding::str_slot<mo::veltjson<PyEnvelope>>(), binding::repr_slot<mo::veltjson<PyEnvelope>>()},
        .constructor = binding::constructor<kNewParams, construct>(),
        .base = &vornix::python::geometry_type,
        .subclassable = true,
    };
}

}  // namespace vornix::python
