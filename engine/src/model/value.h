// One value held by an element, a vector item or an array item: nothing, a 64-bit float or a
// geometry. A value owns its geometry; copying a value clones it, so no two holders ever share one.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>

#include "corvane/corvane.h"
#include "model/geometry.h"

namespace model {

// The value type codes of the C interface.
enum class ElementType : int32_t { Float64 = KX_ELEMENT_TYPE_FLOAT64, Geometry = KX_ELEMENT_TYPE_GEOMETRY };

class Value {
public:
    Value() = default;
    explicit Value(double number) : content_(number) {}
    explicit Value(std::unique_ptr<Geometry> geometry);  // must not be null

    Value copy() const;

    // No type while the value is empty.
    std::optional<ElementType> type() const;
    // Each throws model::EngineError when the value is of another type.
    double float64() const;
    const Geometry& geometry() const;

private:
    std::variant<std::monostate, double, std::unique_ptr<Geometry>> content_;
};

}  // namespace model
