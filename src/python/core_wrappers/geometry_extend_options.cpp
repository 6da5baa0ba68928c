#include "python/core_wrappers/geometry_extend_options.h"

#include <string>

namespace vornix::python {

using binding::fail;
using binding::PyResult;
using binding::Ref;

namespace {

using Type = binding::Type<PyGeometryExtendOptions>;

std::string text(const PyGeometryExtendOptions& self) {
    return "GeometryExtendOptions(" + std::to_string(self.flags) + ")";
}

// Either operand of another type gives NotImplemented, on the left and on the right alike.
template <uint32_t (*Combine)(uint32_t, uint32_t)>
PyObject* binary(PyObject* left, PyObject* right) {
    return binding::guard([&]() -> PyResult<Ref> {
        auto* a = Type::value_of(left);
        auto* b = Type::value_of(right);
        if (a == nullptr || b == nullptr) return Ref::borrow(Py_NotImplemented);
        return Type::wrap({Combine(a->flags, b->flags)});
    });
}
uint32_t bit_or(uint32_t a, uint32_t b) { return a | b; }
uint32_t bit_and(uint32_t a, uint32_t b) { return a & b; }

PyResult<Ref> invert(const PyGeometryExtendOptions& self) { return Type::wrap({~self.flags}); }

constexpr std::pair<const char*, uint32_t> kMembers[] = {
    {"DEFAULT", 0},
    {"RELOCATE_ENDS", 1},
    {"KEEP_END_ATTRIBUTES", 2},
    {"NO_END_ATTRIBUTES", 4},
    {"DO_NOT_EXTEND_FROM_START_POINT", 8},
    {"DO_NOT_EXTEND_FROM_END_POINT", 16},
};

}  // namespace

binding::ClassSpec PyGeometryExtendOptions::class_spec() {
    return {
        .name = "vornix_geometry.GeometryExtendOptions",
        .doc = "Flags for the type of extend operation to perform.",
        .slots = {binding::str_slot<text>(), binding::repr_slot<text>(),
                  {Py_nb_or, reinterpret_cast<void*>(&binary<bit_or>)},
                  {Py_nb_and, reinterpret_cast<void*>(&binary<bit_and>)},
                  {Py_nb_invert, reinterpret_cast<void*>(&binding::detail::UnarySlot<invert>::call)}},
    };
}

PyResult<void> add_geometry_extend_options(PyObject* module) {
    auto type = Type::get();
    if (!type) return fail(std::move(type.error()));
    for (auto [name, flags] : kMembers) {
        auto value = Type::wrap({flags});
        if (!value) return fail(std::move(value.error()));
        if (PyObject_SetAttrString(reinterpret_cast<PyObject*>(*type), name, value->get()) < 0) return fail();
    }
    return binding::add_type(module, *type);
}

}  // namespace vornix::python
