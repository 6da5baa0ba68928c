#include "model/value.h"

#include "model/engine_error.h"

namespace model {

Value::Value(std::unique_ptr<Geometry> geometry) : content_(std::move(geometry)) {
    if (std::get<std::unique_ptr<Geometry>>(content_) == nullptr)
        throw model::EngineError(model::kInvalidArgument, "Null geometry.");
}

Value::Value(DatumTransformationPtr transformation) : content_(std::move(transformation)) {
    if (std::get<DatumTransformationPtr>(content_) == nullptr)
        throw model::EngineError(model::kInvalidArgument, "Null datum transformation.");
}

Value Value::copy() const {
    if (const auto* number = std::get_if<double>(&content_)) return Value(*number);
    if (const auto* geometry = std::get_if<std::unique_ptr<Geometry>>(&content_)) return Value((*geometry)->clone());
    if (const auto* transformation = std::get_if<DatumTransformationPtr>(&content_)) return Value(*transformation);
    return Value();
}

std::optional<ElementType> Value::type() const {
    if (std::holds_alternative<double>(content_)) return ElementType::Float64;
    if (std::holds_alternative<std::unique_ptr<Geometry>>(content_)) return ElementType::Geometry;
    if (std::holds_alternative<DatumTransformationPtr>(content_)) return ElementType::DatumTransformation;
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

namespace model {

const DatumTransformationPtr& Value::datum_transformation() const {
    if (const auto* transformation = std::get_if<DatumTransformationPtr>(&content_)) return *transformation;
    throw model::EngineError(model::kInvalidArgument, "No datum transformation in element.");
}

}  // namespace model
