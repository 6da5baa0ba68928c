#include "model/value.h"

#include "model/engine_error.h"

namespace model {

Value::Value(std::unique_ptr<Geometry> geometry) : content_(std::move(geometry)) {
    if (std::get<std::unique_ptr<Geometry>>(content_) == nullptr)
        throw model::EngineError(model::kInvalidArgument, "Null geometry.");
}

Value Value::copy() const {
    if (const auto* number = std::get_if<double>(&content_)) return Value(*number);
    if (const auto* geometry = std::get_if<std::unique_ptr<Geometry>>(&content_)) return Value((*geometry)->clone());
    return Value();
}

std::optional<ElementType> Value::type() const {
    if (std::holds_alternative<double>(content_)) return ElementType::Float64;
    if (std::holds_alternative<std::unique_ptr<Geometry>>(content_)) return ElementType::Geometry;
    return std::nullopt;
}

double Value::float64() const {
    if (const auto* number = std::get_if<double>(&content_)) return *number;
    throw model::EngineError(model::kInvalidArgument, "No float in element.");
}

const Geometry& Value::geometry() const {
    if (const auto* geometry = std::get_if<std::unique_ptr<Geometry>>(&content_)) return **geometry;
    throw model::EngineError(model::kInvalidArgument, "No geometry in element.");
}

}  // namespace model
