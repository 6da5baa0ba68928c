#include "python/core_wrappers/segment.h"

#include "python/core_wrappers/errors.h"
#include "python/core_wrappers/item_slots.h"
#include "python/core_wrappers/py_index.h"

namespace vornix::python {

using binding::fail;
using binding::PyResult;
using binding::Ref;
using core::geometry::CoordDims;
using core::geometry::flat_len;

namespace {

PyResult<Ref> optional_float(std::optional<double> value) {
    if (!value) return Ref::borrow(Py_None);
    return binding::into_py(*value);
}

double get_x(const PySegment& self) { return self.coord.x(); }
double get_y(const PySegment& self) { return self.coord.y(); }
PyResult<Ref> get_z(const PySegment& self) { return optional_float(self.coord.z()); }
PyResult<Ref> get_m(const PySegment& self) { return optional_float(self.coord.m()); }

std::size_t flat_length(const PySegment& self) { return flat_len(self.coord.dims()); }

PyResult<double> get_item(const PySegment& self, PyObject* key_object) {
    auto key = binding::extract<int64_t>(key_object, "key");
    if (!key) return fail(std::move(key.error()));
    uint64_t n = flat_len(self.coord.dims());
    std::optional<uint64_t> i = resolve_index(*key, n, false);
    if (!i) return fail(gen_py_idx_err(*key, n, "Coord"));
    return self.coord.flat(*i);
}

// Writes the view's whole vertex back at its index; past the part's end nothing is written.
template <typename P>
void write_back(const ParentLink<P>& parent, const VeltCoord& coord) {
    if (!parent) return;
    core::geometry::lock_or_stop(*parent->first, "Lock poisoned")->set_coord(parent->second, coord);
}

// The common steps of every vertex write: the new vertex from the copy, then the write-back.
template <typename V, typename Edit>
PyResult<void> edit_coord(V& self, Edit&& edit) {
    auto changed = raise_geo(edit(self.coord));
    if (!changed) return fail(std::move(changed.error()));
    self.coord = *changed;
    write_back(self.parent, self.coord);
    return {};
}

template <typename V>
PyResult<void> set_x(V& self, double val) {
    return edit_coord(self, [&](const VeltCoord& c) {
        return GeoResult<VeltCoord>(VeltCoord::of(val, c.y(), c.z(), c.m()));
    });
}
template <typename V>
PyResult<void> set_y(V& self, double val) {
    return edit_coord(self, [&](const VeltCoord& c) {
        return GeoResult<VeltCoord>(VeltCoord::of(c.x(), val, c.z(), c.m()));
    });
}
template <typename V>
PyResult<void> set_z(V& self, double val) {
    return edit_coord(self, [&](const VeltCoord& c) { return c.mod_z(val); });
}
template <typename V>
PyResult<void> set_m(V& self, double val) {
    return edit_coord(self, [&](const VeltCoord& c) { return c.mod_m(val); });
}
template <typename V>
PyResult<void> set_item(V& self, PyObject* key, PyObject* value) {
    auto idx = binding::extract<uint64_t>(key, "idx");
    if (!idx) return fail(std::move(idx.error()));
    auto val = binding::extract<double>(value, "val");
    if (!val) return fail(std::move(val.error()));
    return edit_coord(self, [&](const VeltCoord& c) { return c.mod_idx(*idx, *val); });
}

// The vertex members of the writable views (Coord, CurveSegment).
template <typename V>
std::vector<PyGetSetDef> writable_coord_getsets() {
    return {named_property<get_x, set_x<V>>("x", "val"), named_property<get_y, set_y<V>>("y", "val"),
            named_property<get_z, set_z<V>>("z", "val"), named_property<get_m, set_m<V>>("m", "val")};
}

// ---- curve records ----------------------------------------------------------------------------

CurveData record_of(const PyCircularArc& v) { return core::geometry::CircularArc{v.interior_x, v.interior_y}; }
CurveData record_of(const PyEllipticArc& v) {
    return core::geometry::EllipticArc{v.center_x, v.center_y, v.rotation, v.axis, v.ratio, v.minor, v.clockwise};
}
CurveData record_of(const PyBezierCurve& v) {
    return core::geometry::BezierCurve{v.ctrl1_x, v.ctrl1_y, v.ctrl2_x, v.ctrl2_y};
}

// Writes the view's whole curve record back at its index; the vertex is left as it is.
PyResult<void> update_parent_curve(const ParentLink<VeltCurvePart>& parent, const CurveData& curve) {
    if (!parent) return {};
    auto part = core::geometry::lock_or_stop(*parent->first, "Lock poisoned");
    auto stored = part->set_curve(parent->second, curve);
    if (!stored) return fail(to_py_err(std::move(stored.error())));
    return {};
}

template <typename V, auto Field>
auto get_field(const V& self) {
    return self.*Field;
}

template <typename V, auto Field>
PyResult<void> set_field(V& self, std::decay_t<decltype(std::declval<V&>().*Field)> val) {
    self.*Field = val;
    return update_parent_curve(self.parent, record_of(self));
}

template <typename V, auto Field>
PyGetSetDef curve_property(const char* name) {
    return named_property<get_field<V, Field>, set_field<V, Field>>(name, "val");
}

PyResult<PyTypeObject*> segment_type() { return binding::Type<PySegment>::get(); }
PyResult<PyTypeObject*> curve_segment_type() { return binding::Type<PyCurveSegment>::get(); }

binding::ClassSpec curve_class(const char* name, std::vector<PyGetSetDef> getsets) {
    return {.name = name, .getsets = std::move(getsets), .base = &curve_segment_type};
}

template <typename V>
PyResult<Ref> wrap_curve(V view) {
    return binding::Type<V>::wrap(std::move(view));
}

}  // namespace

binding::ClassSpec PySegment::class_spec() {
    return {
        .name = "vornix_geometry.Segment",
        .getsets = {binding::getter<get_x>("x"), binding::getter<get_y>("y"), binding::getter<get_z>("z"),
                    binding::getter<get_m>("m")},
        .slots = join({item_get_slots<get_item>(), {binding::length_slot<flat_length>()}}),
        .subclassable = true,
    };
}

binding::ClassSpec PyCoord::class_spec() {
    return {
        .name = "vornix_geometry.Coord",
        .getsets = writable_coord_getsets<PyCoord>(),
        .slots = item_set_slots<set_item<PyCoord>>(),
        .base = &segment_type,
    };
}

binding::ClassSpec PyCurveSegment::class_spec() {
    return {
        .name = "vornix_geometry.CurveSegment",
        .getsets = writable_coord_getsets<PyCurveSegment>(),
        .slots = item_set_slots<set_item<PyCurveSegment>>(),
        .base = &segment_type,
        .subclassable = true,
    };
}

binding::ClassSpec PyLinear::class_spec() { return curve_class("vornix_geometry.Linear", {}); }

binding::ClassSpec PyCircularArc::class_spec() {
    using V = PyCircularArc;
    return curve_class("vornix_geometry.CircularArc", {curve_property<V, &V::interior_x>("interior_x"),
                                                       curve_property<V, &V::interior_y>("interior_y")});
}

binding::ClassSpec PyEllipticArc::class_spec() {
    using V = PyEllipticArc;
    return curve_class("vornix_geometry.EllipticArc",
                       {curve_property<V, &V::center_x>("center_x"), curve_property<V, &V::center_y>("center_y"),
                        curve_property<V, &V::rotation>("rotation"), curve_property<V, &V::axis>("axis"),
                        curve_property<V, &V::ratio>("ratio"), curve_property<V, &V::minor>("minor"),
                        curve_property<V, &V::clockwise>("clockwise")});
}

binding::ClassSpec PyBezierCurve::class_spec() {
    using V = PyBezierCurve;
    return curve_class("vornix_geometry.BezierCurve",
                       {curve_property<V, &V::ctrl1_x>("ctrl1_x"), curve_property<V, &V::ctrl1_y>("ctrl1_y"),
                        curve_property<V, &V::ctrl2_x>("ctrl2_x"), curve_property<V, &V::ctrl2_y>("ctrl2_y")});
}

PyResult<Ref> make_coord(const VeltCoord& coord, ParentLink<VeltPart> parent) {
    return binding::Type<PyCoord>::wrap(PyCoord{{coord}, std::move(parent)});
}

PyResult<Ref> from_coord_curve(const VeltCoord& coord, const CurveData& curve, ParentLink<VeltCurvePart> parent) {
    // The base is made inside the branch that takes it: one made outside and moved from in every
    // branch trips GCC 12's -Wmaybe-uninitialized at -O3 on the moved-from shared pointer.
    const auto base = [&] { return PyCurveSegment{{coord}, std::move(parent)}; };
    return std::visit(
        [&](const auto& record) -> PyResult<Ref> {
            using R = std::decay_t<decltype(record)>;
            if constexpr (std::is_same_v<R, core::geometry::Line>) {
                return wrap_curve(PyLinear{base()});
            } else if constexpr (std::is_same_v<R, core::geometry::CircularArc>) {
                return wrap_curve(PyCircularArc{base(), record.interior_x, record.interior_y});
            } else if constexpr (std::is_same_v<R, core::geometry::EllipticArc>) {
                return wrap_curve(PyEllipticArc{base(), record.center_x, record.center_y, record.rotation,
                                                record.axis, record.ratio, record.minor, record.clockwise});
            } else {
                return wrap_curve(
                    PyBezierCurve{base(), record.ctrl1_x, record.ctrl1_y, record.ctrl2_x, record.ctrl2_y});
            }
        },
        curve);
}

}  // namespace vornix::python
