// Engine strings and engine errors: the two plain-data objects every other part of the engine
// hands back to its callers.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "model/object.h"

namespace model {

class String : public Object {
public:
    explicit String(std::string text) : Object(ClassTag::String), text_(std::move(text)) {}
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

class Error : public Object {
public:
    Error(int32_t code, std::string message, std::string additional_message)
        : Object(ClassTag::Error), code_(code), message_(std::move(message)),
          additional_message_(std::move(additional_message)) {}
    int32_t code() const { return code_; }
    const std::string& message() const { return message_; }
    const std::string& additional_message() const { return additional_message_; }

private:
    int32_t code_;
    std::string message_;
    std::string additional_message_;
};

}  // namespace model
