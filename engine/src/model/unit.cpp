#include "model/unit.h"

#include <array>
#include <span>
#include <string>

#include "model/engine_error.h"

namespace model {
namespace {

struct UnitSize {
    int32_t code;
    double factor;
};

// The exact decimal sizes, written out so that each is the double nearest to the defined value
// (a product of rounded factors could be one unit in the last place off).
constexpr std::array kLinearUnits = {
    UnitSize{0, 1.0},
    UnitSize{1025, 0.001},
    UnitSize{1033, 0.01},
    UnitSize{9001, 1.0},
    UnitSize{9002, 0.3048},      // international foot
    UnitSize{9030, 1852.0},      // international nautical mile
    UnitSize{9036, 1000.0},
    UnitSize{9093, 1609.344},    // statute mile, 5280 international feet
    UnitSize{9096, 0.9144},      // international yard
    UnitSize{109008, 0.0254},    // international inch
};

constexpr std::array kAreaUnits = {
    UnitSize{0, 1.0},
    UnitSize{109401, 10000.0},          // hectare
    UnitSize{109402, 4046.8564224},     // international acre, 43560 square feet
    UnitSize{109404, 1.0},
    UnitSize{109405, 0.09290304},
    UnitSize{109414, 1.0e6},
    UnitSize{109439, 2589988.110336},
    UnitSize{109442, 0.83612736},
    UnitSize{109450, 0.01},
    UnitSize{109451, 1.0e-4},
    UnitSize{109452, 1.0e-6},
};

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
