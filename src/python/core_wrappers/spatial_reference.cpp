#include "python/core_wrappers/spatial_reference.h"

#include "python/core_wrappers/common.h"
#include "python/core_wrappers/errors.h"

namespace vornix::python {

using binding::fail;
using binding::PyResult;
using binding::Ref;
using core::geometry::SpatialReference;

namespace {

PyResult<PySpatialReference> construct(PyObject* sr) {
    auto record = spatial_reference_from_py(sr);
    if (!record) return fail(std::move(record.error()));
    return PySpatialReference{std::move(*record)};
}

template <auto Field>
auto get_field(const PySpatialReference& self) -> PyResult<Ref> {
    const auto& value = self.sr.*Field;
    if (!value) return Ref::borrow(Py_None);
    return binding::into_py(*value);
}

// None clears the field; the value is converted before the record is touched.
template <auto Field>
void set_field(PySpatialReference& self, std::decay_t<decltype(std::declval<SpatialReference&>().*Field)> value) {
    self.sr.*Field = std::move(value);
}

template <auto Field>
PyGetSetDef field_property(const char* name) {
    return binding::property<get_field<Field>, set_field<Field>>(name);
}

std::string text(const PySpatialReference& self) {
    std::string out;
    self.sr.write_veltjson(out);
    return out;
}

template <typename T>
bool both_equal(const std::optional<T>& a, const std::optional<T>& b) {
    return a && b && *a == *b;
}

// Equal when any one of wkid, latest_wkid, wkt or wkt2 is set on both and the same; the vertical
// identifiers take no part.
bool equal(const SpatialReference& a, const SpatialReference& b) {
    return both_equal(a.wkid, b.wkid) || both_equal(a.latest_wkid, b.latest_wkid) || both_equal(a.wkt, b.wkt) ||
           both_equal(a.wkt2, b.wkt2);
}

PyObject* richcompare(PyObject* self, PyObject* other, int op) {
    return binding::guard([&]() -> PyResult<Ref> {
        if (op == Py_NE) {
            auto same = binding::checked(PyObject_RichCompare(self, other, Py_EQ));
            if (!same) return same;
            int truth = PyObject_IsTrue(same->get());
            if (truth < 0) return fail();
            return Ref::borrow(truth ? Py_False : Py_True);
        }
        if (op != Py_EQ) return Ref::borrow(Py_NotImplemented);
        auto* theirs = binding::Type<PySpatialReference>::value_of(other);
        auto* mine = binding::Type<PySpatialReference>::value_of(self);
        bool result = theirs != nullptr && mine != nullptr && equal(mine->sr, theirs->sr);
        return Ref::borrow(result ? Py_True : Py_False);
    });
}

constexpr binding::Params kConstructorParams{"SpatialReference", {"sr"}};

}  // namespace

binding::ClassSpec PySpatialReference::class_spec() {
    return {
        .name = "vornix_geometry.SpatialReference",
        .doc = "SpatialReference(sr)\n--\n\n",
        .getsets = {field_property<&SpatialReference::wkid>("wkid"),
                    field_property<&SpatialReference::latest_wkid>("latest_wkid"),
                    field_property<&SpatialReference::vcs_wkid>("vcs_wkid"),
                    field_property<&SpatialReference::latest_vcs_wkid>("latest_vcs_wkid"),
                    field_property<&SpatialReference::wkt>("wkt"), field_property<&SpatialReference::wkt2>("wkt2")},
        .slots = {binding::str_slot<text>(), binding::repr_slot<text>(),
                  {Py_tp_richcompare, reinterpret_cast<void*>(&richcompare)}},
        .constructor = binding::constructor<kConstructorParams, construct>(),
    };
}

PyResult<SpatialReference> spatial_reference_from_py(PyObject* object) {
    if (auto* view = binding::Type<PySpatialReference>::value_of(object)) return view->sr;
    if (PyDict_Check(object)) return raise_geo(common::sr_from_dict(object));
    return fail(PyExc_TypeError, "SpatialReference from_py expects a SpatialReference object or a dict");
}

PyResult<::geometry::spatial_reference::SpatialReference> geom_sr_from_py(PyObject* object) {
    auto record = spatial_reference_from_py(object);
    if (!record) return fail(std::move(record.error()));
    auto engine = raise_geo(core::geometry::to_geom_sr(std::move(*record)));
    if (!engine) return fail(std::move(engine.error()));
    if (!*engine)
        return fail(PyExc_ValueError,
                    "Failed to convert " + binding::text_of(object) + " into a geometry engine spatial reference");
    return std::move(**engine);
}

PyResult<Ref> wrap_spatial_reference(SpatialReference sr) {
    return binding::Type<PySpatialReference>::wrap(PySpatialReference{std::move(sr)});
}

}  // namespace vornix::python
