// The array: an immutable list of values that an operation hands back to its caller, who reads
// it item by item; each item read is a copy, so the array stays whole until it is destroyed.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/object.h"
#include "model/value.h"

namespace model {

class Array : public Object {
public:
    explicit Array(std::vector<Value> items) : Object(ClassTag::Array), items_(std::move(items)) {}

    // The array of an operation's resulting geometries (none of them null).
    static std::unique_ptr<Array> of_geometries(std::vector<std::unique_ptr<Geometry>> geometries);

    uint64_t size() const { return items_.size(); }
    // Throws model::EngineError for an index past the end.
    const Value& at(uint64_t index) const;

private:
    std::vector<Value> items_;
};

}  // namespace model
