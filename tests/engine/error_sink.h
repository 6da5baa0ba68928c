// An error record that keeps every engine error reported through it, read with the engine's own
// error and string functions.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "corvane/corvane.h"

struct Reported {
    int32_t code;
    std::string msg;
    std::string additional;
    bool operator==(const Reported&) const = default;
    friend std::ostream& operator<<(std::ostream& os, const Reported& r) {
        return os << "{" << r.code << ", \"" << r.msg << "\", \"" << r.additional << "\"}";
    }
};

inline std::string take_text(KX_StringHandle handle) {
    size_t size = 0;
    const uint8_t* bytes = KX_String_getByteArray(handle, &size, nullptr);
    std::string text(reinterpret_cast<const char*>(bytes), size);
    KX_String_destroy(handle, nullptr);
    return text;
}

class ErrorSink {
public:
    const KX_ErrorCallbackRecord* rec() const { return &record_; }
    const std::vector<Reported>& errors() const { return errors_; }
    static void collect(void* self, KX_ErrorHandle error) {
        static_cast<ErrorSink*>(self)->errors_.push_back({KX_Error_getCode(error, nullptr),
                                                         take_text(KX_Error_getMessage(error, nullptr)),
                                                         take_text(KX_Error_getAdditionalMessage(error, nullptr))});
        KX_Error_destroy(error, nullptr);
    }

private:
    std::vector<Reported> errors_;
    KX_ErrorCallbackRecord record_{&ErrorSink::collect, this};
};
