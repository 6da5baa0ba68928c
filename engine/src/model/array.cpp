#include "model/array.h"

#include <string>

#include "model/engine_error.h"

namespace model {

std::unique_ptr<Array> Array::of_geometries(std::vector<std::unique_ptr<Geometry>> geometries) {
    std::vector<Value> items;
    items.reserve(geometries.size());
    for (auto& geometry : geometries) items.emplace_back(std::move(geometry));
    return std::make_unique<Array>(std::move(items));
}

const Value& Array::at(uint64_t index) const {
    if (index >= items_.size())
        throw model::EngineError(model::kIndexOutOfRange, "Index out of range.",
                               "Index " + std::to_string(index) + " of an array of size " +
                                   std::to_string(items_.size()) + ".");
    return items_[index];
}

}  // namespace model
