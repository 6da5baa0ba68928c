// The value classes that name engine codes: AreaUnitId, LinearUnitId, GeodeticCurveType. Each
// member is one object kept in its class; int() gives the code, str() and repr() "Class.Member".
// There is no equality of their own: compare codes with int().
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "geometry/linear_unit.h"
#include "python/binding/binding.h"

namespace vornix::python {

struct EnumMember {
    const char* name;
    int64_t code;
};

struct PyAreaUnitId {
    int32_t code;
    static binding::ClassSpec class_spec();
    static std::span<const EnumMember> members();
};

struct PyLinearUnitId {
    int32_t code;
    static binding::ClassSpec class_spec();
    static std::span<const EnumMember> members();
};

struct PyGeodeticCurveType {
    uint8_t code;
    static binding::ClassSpec class_spec();
    static std::span<const EnumMember> members();
};

// The class with its members set as class attributes, added to the module.
template <typename T>
binding::PyResult<void> add_enum(PyObject* module);

// The engine unit for the code; an engine refusal is ValueError "Invalid LinearUnitId: {:?}".
binding::PyResult<::geometry::linear_unit::LinearUnit> to_linear_unit(const PyLinearUnitId& unit);

}  // namespace vornix::python
