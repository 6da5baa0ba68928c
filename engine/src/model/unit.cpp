#include "model/unit.h"

#include <span>
#include <string>

#include "model/engine_error.h"

namespace model {
namespace {

struct UnitSize {
    int32_t code;
    double factor;
};

#define KX_UNIT(name, code, size) UnitSize{code, size},
constexpr UnitSize kLinearUnits[] = {
#include "corvane/linear_units.def"
};
constexpr UnitSize kAreaUnits[] = {
#include "corvane/area_units.def"
};
#undef KX_UNIT

double factor_of(UnitKind kind, int32_t code) {
    const std::span<const UnitSize> table =
        kind == UnitKind::Linear ? std::span<const UnitSize>(kLinearUnits) : std::span<const UnitSize>(kAreaUnits);
    for (const auto& unit : table)
        if (unit.code == code) return unit.factor;
    const std::string name = kind == UnitKind::Linear ? "linear" : "area";
    throw model::EngineError(model::kUnitError, "Unknown " + name + " unit.",
                           "No " + name + " unit has the code " + std::to_string(code) + ".");
}

}  // namespace

Unit::Unit(UnitKind kind, int32_t code)
    : Object(ClassTag::Unit), kind_(kind), code_(code), factor_(factor_of(kind, code)) {}

}  // namespace model
