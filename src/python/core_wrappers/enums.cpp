#include "python/core_wrappers/enums.h"

#include <string>

namespace vornix::python {

using binding::fail;
using binding::PyResult;
using binding::Ref;

namespace {

// Each class's members, expanded from the engine's own lists of codes.
#define KX_UNIT(name, code, size) {#name, code},
constexpr EnumMember kAreaUnitIds[] = {
#include "corvane/area_units.def"
};
constexpr EnumMember kLinearUnitIds[] = {
#include "corvane/linear_units.def"
};
#undef KX_UNIT

#define KX_CURVE_TYPE(name, code) {#name, code},
constexpr EnumMember kGeodeticCurveTypes[] = {
#include "corvane/curve_types.def"
};
#undef KX_CURVE_TYPE

template <typename T>
constexpr const char* kClassName = nullptr;
template <>
constexpr const char* kClassName<PyAreaUnitId> = "AreaUnitId";
template <>
constexpr const char* kClassName<PyLinearUnitId> = "LinearUnitId";
template <>
constexpr const char* kClassName<PyGeodeticCurveType> = "GeodeticCurveType";

template <typename T>
int64_t to_int(const T& self) {
    return self.code;
}

// The codes come only from the members or from the engine's validated sets, so every code has a name.
template <typename T>
std::string text(const T& self) {
    for (const EnumMember& member : T::members())
        if (member.code == self.code) return std::string(kClassName<T>) + "." + member.name;
    return std::string(kClassName<T>) + "." + std::to_string(self.code);
}

template <typename T>
binding::ClassSpec enum_spec(const char* name) {
    return {
        .name = name,
        .slots = {binding::str_slot<text<T>>(), binding::repr_slot<text<T>>(),
                  {Py_nb_int, reinterpret_cast<void*>(&binding::detail::UnarySlot<to_int<T>>::call)}},
    };
}

}  // namespace

binding::ClassSpec PyAreaUnitId::class_spec() { return enum_spec<PyAreaUnitId>("vornix_geometry.AreaUnitId"); }
binding::ClassSpec PyLinearUnitId::class_spec() { return enum_spec<PyLinearUnitId>("vornix_geometry.LinearUnitId"); }
binding::ClassSpec PyGeodeticCurveType::class_spec() {
    return enum_spec<PyGeodeticCurveType>("vornix_geometry.GeodeticCurveType");
}

std::span<const EnumMember> PyAreaUnitId::members() { return kAreaUnitIds; }
std::span<const EnumMember> PyLinearUnitId::members() { return kLinearUnitIds; }
std::span<const EnumMember> PyGeodeticCurveType::members() { return kGeodeticCurveTypes; }

template <typename T>
PyResult<void> add_enum(PyObject* module) {
    auto type = binding::Type<T>::get();
    if (!type) return fail(std::move(type.error()));
    for (const EnumMember& member : T::members()) {
        auto value = binding::Type<T>::wrap(T{static_cast<decltype(T::code)>(member.code)});
        if (!value) return fail(std::move(value.error()));
        if (PyObject_SetAttrString(reinterpret_cast<PyObject*>(*type), member.name, value->get()) < 0) return fail();
    }
    return binding::add_type(module, *type);
}
template PyResult<void> add_enum<PyAreaUnitId>(PyObject*);
template PyResult<void> add_enum<PyLinearUnitId>(PyObject*);
template PyResult<void> add_enum<PyGeodeticCurveType>(PyObject*);

PyResult<::geometry::linear_unit::LinearUnit> to_linear_unit(const PyLinearUnitId& unit) {
    auto made = ::geometry::linear_unit::LinearUnit::with_unit_id(unit.code);
    if (!made) return fail(PyExc_ValueError, "Invalid LinearUnitId: " + made.error().record_form());
    return std::move(*made);
}

}  // namespace vornix::python
