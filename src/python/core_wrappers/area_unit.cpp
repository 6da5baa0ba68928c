#include "python/core_wrappers/area_unit.h"

#include "python/core_wrappers/enums.h"

namespace vornix::python {

using binding::fail;
using binding::PyResult;
using binding::Ref;

namespace {

PyResult<PyAreaUnit> construct(PyAreaUnitId* unit_id) { return PyAreaUnit::new_from_unit_id(unit_id->code); }

PyResult<Ref> area_unit_id(const PyAreaUnit& self) {
    return binding::Type<PyAreaUnitId>::wrap({int32_t(self.unit.area_unit_id())});
}

PyResult<Ref> clone_object(const PyAreaUnit& self) {
    auto clone = self.try_clone();
    if (!clone) return fail(std::move(clone.error()));
    return binding::Type<PyAreaUnit>::wrap(std::move(*clone));
}

double convert_to(const PyAreaUnit& self, PyAreaUnit* to_unit, double area) {
    return self.unit.convert_to(to_unit->unit, area);
}
double convert_from(const PyAreaUnit& self, PyAreaUnit* from_unit, double area) {
    return self.unit.convert_from(from_unit->unit, area);
}
double to_square_meters(const PyAreaUnit& self, double area) { return self.unit.to_square_meters(area); }
double from_square_meters(const PyAreaUnit& self, double area) { return self.unit.from_square_meters(area); }

constexpr binding::Params kConstructorParams{"AreaUnit", {"unit_id"}};
constexpr binding::Params kAreaUnitIdParams{"AreaUnit.area_unit_id", {}};
constexpr binding::Params kTryCloneParams{"AreaUnit.try_clone", {}};
constexpr binding::Params kConvertToParams{"AreaUnit.convert_to", {"to_unit", "area"}};
constexpr binding::Params kConvertFromParams{"AreaUnit.convert_from", {"from_unit", "area"}};
constexpr binding::Params kToSquareMetersParams{"AreaUnit.to_square_meters", {"area"}};
constexpr binding::Params kFromSquareMetersParams{"AreaUnit.from_square_meters", {"area"}};

}  // namespace

PyResult<PyAreaUnit> PyAreaUnit::new_from_unit_id(int32_t code) {
    auto unit = ::geometry::area_unit::AreaUnit::with_unit_id(code);
    if (!unit) return fail(PyExc_RuntimeError, unit.error().record_form());
    return PyAreaUnit{std::move(*unit)};
}

PyResult<PyAreaUnit> PyAreaUnit::try_clone() const { return new_from_unit_id(int32_t(unit.area_unit_id())); }

binding::ClassSpec PyAreaUnit::class_spec() {
    return {
        .name = "vornix_geometry.AreaUnit",
        .doc = "AreaUnit(unit_id)\n--\n\n",
        .methods = {binding::method<kAreaUnitIdParams, area_unit_id>("area_unit_id($self)\n--\n\n"),
                    binding::method<kTryCloneParams, clone_object>("try_clone($self)\n--\n\n"),
                    binding::method<kConvertToParams, convert_to>("convert_to($self, to_unit, area)\n--\n\n"),
                    binding::method<kConvertFromParams, convert_from>("convert_from($self, from_unit, area)\n--\n\n"),
                    binding::method<kToSquareMetersParams, to_square_meters>("to_square_meters($self, area)\n--\n\n"),
                    binding::method<kFromSquareMetersParams, from_square_meters>(
                        "from_square_meters($self, area)\n--\n\n")},
        .constructor = binding::constructor<kConstructorParams, construct>(),
    };
}

}  // namespace vornix::python
