// The exception through which engine code reports a failure; the C boundary (api::execute) turns
// it into an engine error reported through the caller's error record.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "corvane/corvane.h"

namespace model {

// The engine's error codes, by their names in the C interface.
enum ErrorCode : int32_t {
    kInvalidArgument = KX_ERROR_INVALID_ARGUMENT,
    kInvalidHandle = KX_ERROR_INVALID_HANDLE,
    kNotImplemented = KX_ERROR_NOT_IMPLEMENTED,
    kGeometryError = KX_ERROR_GEOMETRY,
    kJsonError = KX_ERROR_JSON,
    kSpatialReferenceError = KX_ERROR_SPATIAL_REFERENCE,
    kUnitError = KX_ERROR_UNIT,
    kTransformationError = KX_ERROR_TRANSFORMATION,
    kIndexOutOfRange = KX_ERROR_INDEX_OUT_OF_RANGE,
    kInternal = KX_ERROR_INTERNAL,
    kInjected = KX_ERROR_INJECTED,
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
