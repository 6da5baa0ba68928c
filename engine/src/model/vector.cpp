#include "model/vector.h"

#include <string>

#include "model/engine_error.h"

namespace model {
namespace {

ElementType element_type(int32_t code) {
    if (code == static_cast<int32_t>(ElementType::Float64)) return ElementType::Float64;
    if (code == static_cast<int32_t>(ElementType::Geometry)) return ElementType::Geometry;
    throw model::EngineError(model::kInvalidArgument, "Unsupported element type.",
                             "Vectors hold floats (" + std::to_string(KX_ELEMENT_TYPE_FLOAT64) + ") or geometries (" +
                                 std::to_string(KX_ELEMENT_TYPE_GEOMETRY) + "), not type " + std::to_string(code) + ".");
}

}  // namespace

Vector::Vector(int32_t type_code) : Object(ClassTag::Vector), type_(element_type(type_code)) {}

uint64_t Vector::add(const Element& element) {
    const auto type = element.value().type();
    if (!type) throw model::EngineError(model::kInvalidArgument, "Empty element.", "The element holds no value to add.");
    if (*type != type_)
        throw model::EngineError(model::kInvalidArgument, "Element type mismatch.",
                               "The element's value is not of the vector's type.");
    items_.push_back(element.value().copy());
    return items_.size();
}

}  // namespace model
