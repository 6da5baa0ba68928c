// Engine errors as values, the error record passed with every engine call, and the two failure
// policies of the wrappers: the error returned to the caller, or an internal-error stop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "base/fault.h"
#include "corvane/corvane.h"

namespace geometry {

struct Error {
    int32_t code = 0;
    std::string msg;
    std::string additional_msg;

    // Reads the three fields of an engine error and destroys the handle.
    static Error from_handle(KX_ErrorHandle handle);
    // The error of a failed type narrowing: KX_ERROR_CONVERSION, "Conversion between types failed.".
    static Error new_conversion_error(std::string_view source, std::string_view target);

    // "Msg: Additional msg", trailing full stops removed, first letters upper-cased.
    std::string display() const;
    // Error { code: 5, msg: "...", additional_msg: "..." }
    std::string record_form() const;
    // The engine's report of a failed allocation.
    bool is_out_of_memory() const;

    bool operator==(const Error&) const = default;
};

template <typename T>
using Result = std::expected<T, Error>;

// The callbacks of the error record: `write_error` stores the error in the caller's slot
// (a std::optional<Error>), the last one reported wins; `discard_error` prints it to stderr.
extern "C" void write_error(void* slot, KX_ErrorHandle handle);
extern "C" void discard_error(void* user_data, KX_ErrorHandle handle);

// Calls `f(record)` with a fresh error record and gives its result or the reported error.
template <typename F>
auto call(F&& f) -> Result<std::invoke_result_t<F, const KX_ErrorCallbackRecord*>> {
    using R = std::invoke_result_t<F, const KX_ErrorCallbackRecord*>;
    std::optional<Error> slot;
    const KX_ErrorCallbackRecord record{&write_error, &slot};
    if constexpr (std::is_void_v<R>) {
        f(&record);
        if (slot) return std::unexpected(std::move(*slot));
        return {};
    } else {
        R value = f(&record);
        if (slot) return std::unexpected(std::move(*slot));
        return value;
    }
}

// The text of a stop that carries an engine error: "<message>: <record form>".
std::string stop_text(std::string_view message, const Error& error);

// The stop of an engine error under the internal-error policy. The engine's report of a failed
// allocation is thrown as std::bad_alloc instead: it is MemoryError in Python, not a fault.
[[noreturn]] void stop_with(std::string_view message, const Error& error);

// The stop of an engine error that only a broken engine gives, naming the engine function
// (ENGINE_FUNCTION_NAME in handle.h):
// "Internal error: Unexpected error returned from internal function <function>: <record form>".
[[noreturn]] void stop_unexpected(std::string_view function, const Error& error);

// Calls `f(record)`; an engine error is the stop of `stop_unexpected`.
template <typename F>
auto call_or_stop(std::string_view function, F&& f) -> std::invoke_result_t<F, const KX_ErrorCallbackRecord*> {
    auto result = call(std::forward<F>(f));
    if (!result) stop_unexpected(function, result.error());
    if constexpr (!std::is_void_v<std::invoke_result_t<F, const KX_ErrorCallbackRecord*>>)
        return std::move(*result);
}

// Calls `f(record, i)` for each i below `count`, all with one error record, as a loop of
// call_or_stop would: the first engine error is the stop of `stop_unexpected`, and no later call is
// made. For the calls made once per vertex, where a fresh record per call costs as much as the call.
template <typename F>
void call_each_or_stop(std::string_view function, std::size_t count, F&& f) {
    std::optional<Error> slot;
    const KX_ErrorCallbackRecord record{&write_error, &slot};
    for (std::size_t i = 0; i < count; ++i) {
        f(&record, i);
        if (slot) [[unlikely]] stop_unexpected(function, *slot);
    }
}

// Reads an engine string into text and destroys its handle.
std::string string_from_handle(KX_StringHandle handle);

}  // namespace geometry
