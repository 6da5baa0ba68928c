#include "geometry/error.h"

#include <unistd.h>

#include <charconv>
#include <new>
#include <utility>

#include "base/fd_writer.h"
#include "geometry/bindings.h"
#include "geometry/handle.h"
#include "geometry/unicode.h"

namespace geometry {
namespace {

// The fields of an engine error, read in their order into `out`; a stop while reading a text
// leaves the fields read so far in `out`. The handle is destroyed in every case.
void read_error(KX_ErrorHandle handle, Error& out) {
    const auto owner = handle::ErrorOwner::from_handle(handle);
    const auto& ffi = bindings::ffi();
    out.code = ffi.KX_Error_getCode(handle, nullptr);
    out.msg = string_from_handle(ffi.KX_Error_getMessage(handle, nullptr));
    out.additional_msg = string_from_handle(ffi.KX_Error_getAdditionalMessage(handle, nullptr));
}

// The error a callback keeps when the engine's error itself cannot be read: the call must still
// count as failed, and nothing may unwind into the engine.
Error unreadable(int32_t code, const char* reason) noexcept {
    try {
        return Error{code, "The engine error could not be read.", reason};
    } catch (...) {
        return Error{code, {}, {}};
    }
}

Error read_error_or_fallback(KX_ErrorHandle handle) noexcept {
    Error error;
    try {
        read_error(handle, error);
        return error;
    } catch (const std::exception& fault) {
        return unreadable(error.code, fault.what());
    } catch (...) {
        return unreadable(error.code, "");
    }
}

// Trailing full stops removed, nothing left = absent, first character in its upper-case form.
std::optional<std::string> normalised(std::string_view text) {
    while (!text.empty() && text.back() == '.') text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    std::string out;
    out.reserve(text.size() + 2);
    if (auto first = unicode::decode_at(text, 0)) {
        unicode::append_upper(out, first->code_point);
        out.append(text.substr(first->length));
    } else {
        out.append(text);
    }
    return out;
}

// \u{hex}: lower-case hexadecimal digits, no padding.
void append_unicode_escape(std::string& out, char32_t c) {
    char digits[8];
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<uint32_t>(c), 16).ptr;
    out.append("\\u{").append(digits, end).push_back('}');
}

// A text quoted with the escapes of the record form.
void append_quoted(std::string& out, std::string_view raw) {
    const std::string text = unicode::lossy(raw);
    out.push_back('"');
    for (size_t pos = 0; pos < text.size();) {
        const auto d = *unicode::decode_at(text, pos);
        const char32_t c = d.code_point;
        switch (c) {
            case '"': out.append("\\\""); break;
            case '\\': out.append("\\\\"); break;
            case '\n': out.append("\\n"); break;
            case '\r': out.append("\\r"); break;
            case '\t': out.append("\\t"); break;
            case '\0': out.append("\\0"); break;
            default:
                if (unicode::is_debug_escaped(c))
                    append_unicode_escape(out, c);
                else
                    out.append(text.substr(pos, d.length));
        }
        pos += d.length;
    }
    out.push_back('"');
}

}  // namespace

Error Error::from_handle(KX_ErrorHandle handle) {
    Error error;
    read_error(handle, error);
    return error;
}

Error Error::new_conversion_error(std::string_view source, std::string_view target) {
    return Error{KX_ERROR_CONVERSION, "Conversion between types failed.",
                 "Tried to convert from " + std::string(source) + " to " + std::string(target) + "."};
}

std::string Error::display() const {
    const auto message = normalised(msg);
    const auto additional = normalised(additional_msg);
    if (message && additional) return *message + ": " + *additional;
    if (message) return *message;
    if (additional) return *additional;
    return "No error message found";
}

std::string Error::record_form() const {
    std::string out = "Error { code: " + std::to_string(code) + ", msg: ";
    append_quoted(out, msg);
    out.append(", additional_msg: ");
    append_quoted(out, additional_msg);
    out.append(" }");
    return out;
}

extern "C" void write_error(void* slot, KX_ErrorHandle handle) {
    // The slot is filled in every case: an empty slot would turn a failed call into a success.
    auto& error = *static_cast<std::optional<Error>*>(slot);
    try {
        error.emplace(read_error_or_fallback(handle));
    } catch (const std::bad_alloc&) {
        // Nothing may unwind into the engine. This text fits a string's own storage: making the
        // error allocates nothing.
        error.emplace(Error{KX_ERROR_INTERNAL, KX_OUT_OF_MEMORY_MESSAGE, {}});
    }
}

extern "C" void discard_error(void*, KX_ErrorHandle handle) {
    const Error error = read_error_or_fallback(handle);
    try {
        core::write_fd(STDERR_FILENO,
                       "WARNING: Unexpected error occurred in corvane and was discarded " + error.display() + "\n");
    } catch (...) {
        // Nothing may unwind into the engine; a line that cannot be formatted is lost.
    }
}

std::string stop_text(std::string_view message, const Error& error) {
    return std::string(message) + ": " + error.record_form();
}

bool Error::is_out_of_memory() const { return code == KX_ERROR_INTERNAL && msg == KX_OUT_OF_MEMORY_MESSAGE; }

void stop_with(std::string_view message, const Error& error) {
    if (error.is_out_of_memory()) throw std::bad_alloc();
    core::stop(stop_text(message, error));
}

void stop_unexpected(std::string_view function, const Error& error) {
    stop_with(std::string("Internal error: Unexpected error returned from internal function ").append(function), error);
}

std::string string_from_handle(KX_StringHandle handle) {
    const auto& ffi = bindings::ffi();
    auto owner = handle::StringOwner::from_handle(handle);
    size_t size = 0;
    auto bytes = call([&](const KX_ErrorCallbackRecord* rec) { return ffi.KX_String_getByteArray(handle, &size, rec); });
    if (!bytes) stop_with("Internal error: Failed to get byte array from String handle", bytes.error());
    std::string text;
    if (*bytes != nullptr && size != 0) text.assign(reinterpret_cast<const char*>(*bytes), size);
    auto destroyed = call([&](const KX_ErrorCallbackRecord* rec) { ffi.KX_String_destroy(std::move(owner).release(), rec); });
    if (!destroyed) stop_with("Internal error: Failed to destroy String handle", destroyed.error());
    return text;
}

}  // namespace geometry
