// The element: the one-value carrier through which values enter a vector and leave an array.
#pragma once

#include "model/object.h"
#include "model/value.h"

namespace model {

class Element : public Object {
public:
    Element() : Object(ClassTag::Element) {}
    explicit Element(Value value) : Object(ClassTag::Element), value_(std::move(value)) {}

    const Value& value() const { return value_; }
    void set(Value value) { value_ = std::move(value); }

private:
    Value value_;
};

}  // namespace model
