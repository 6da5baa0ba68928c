// The exception through which engine code reports a failure; the C boundary (api::execute) turns
// it into an engine error reported through the caller's error record.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace model {

// Engine error codes.
enum ErrorCode : int32_t {
    kInvalidArgument = 2,
    kInvalidHandle = 3,
    kNotImplemented = 4,
    kGeometryError = 5,
    kJsonError = 6,
    kSpatialReferenceError = 7,
    kUnitError = 8,
    kTransformationError = 9,
    kIndexOutOfRange = 10,
    kInternal = 99,
    kInjected = 1000,
};

class EngineError : public std::runtime_error {
public:
    EngineError(int32_t code, const std::string& message, std::string additional = {})
        : std::runtime_error(message), code_(code), additional_(std::move(additional)) {}
    int32_t code() const { return code_; }
    const std::string& additional() const { return additional_; }

private:
    int32_t code_;
    std::string additional_;
};

}  // namespace model
