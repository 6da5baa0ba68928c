// One value held by an element, a vector item or an array item: nothing, a 64-bit float, a
// geometry or a datum transformation. A value owns its geometry; copying a value clones it, so no two holders ever share one.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>

#include "corvane/corvane.h"
#include "model/datum_transformation.h"
#include "model/geometry.h"

namespace model {

// The value type codes of the C interface.
// DatumTransformation has no code of the C interface: no vector of transformations is ever made,
// only arrays of them handed back.
enum class ElementType : int32_t {
    Float64 = KX_ELEMENT_TYPE_FLOAT64,
    Geometry = KX_ELEMENT_TYPE_GEOMETRY,
    DatumTransformation = -1
};

class Value {
public:
    Value() = default;
    explicit Value(double number) : content_(number) {}
    explicit Value(std::unique_ptr<Geometry> geometry);  // must not be null
    explicit Value(DatumTransformationPtr transformation);  // must not be null

    Value copy() const;

    // No type while the value is empty.
    std::optional<ElementType> type() const;
    // Each throws model::EngineError when the value is of another type.
    double float64() const;
    const Geometry& geometry() const;
    const DatumTransformationPtr& datum_transformation() const;

private:
    std::variant<std::monostate, double, std::unique_ptr<Geometry>, DatumTransformationPtr> content_;
};

}  // namespace model
