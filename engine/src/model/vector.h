// The vector: a list of values of one type that a caller fills, item by item through an element,
// to pass many floats or geometries into one engine call.
#pragma once

#include <cstdint>
#include <vector>

#include "model/element.h"
#include "model/object.h"
#include "model/value.h"

namespace model {

class Vector : public Object {
public:
    // Throws model::EngineError for a type code other than float64 and geometry.
    explicit Vector(int32_t type_code);

    ElementType type() const { return type_; }
    // Appends a copy of the element's value, which must be of the vector's type; returns the new size.
    uint64_t add(const Element& element);

    uint64_t size() const { return items_.size(); }
    const std::vector<Value>& items() const { return items_; }

private:
    ElementType type_;
    std::vector<Value> items_;
};

}  // namespace model
