// Texts and names that reach users and that programs written against this module match on
// exactly: the qualified name of the panic exception class, the stop texts of a one-time start or
// a lock left poisoned by an earlier stop, the text of a failed cast, and the display forms of
// the readers' errors. They read
// unlike the code around them and stay verbatim all the same: changing one breaks every caller
// that compares it.
#pragma once

#include <string>
#include <string_view>

namespace core::kept_texts {

// The panic exception class: module "pyo3_runtime", class "PanicException".
inline constexpr const char* panic_exception = "pyo3_runtime.PanicException";

// Stops of a one-time start that failed before: the engine's runtime environment, the function table.
inline constexpr const char* once_poisoned = "Once instance has previously been poisoned";
inline constexpr const char* lazy_lock_poisoned = "LazyLock instance has previously been poisoned";
// The stop of the library path's lock, poisoned by a stop while it was held.
inline constexpr const char* library_path_poisoned =
    "Failed to acquire lock on GEOMETRY_LIB_PATH: PoisonError { .. }";

// The text of a failed cast: "'<type name>' object cannot be cast as '<target>'".
inline std::string cast_text(std::string_view type_name, std::string_view target) {
    std::string text = "'";
    text.append(type_name).append("' object cannot be cast as '").append(target).append("'");
    return text;
}

// The display forms of the readers' errors, around the error's own text where it has one.
inline constexpr std::string_view processing_geometry_open = "processing geometry `";
inline constexpr std::string_view io_error_open = "I/O error `";
inline constexpr std::string_view quoted_close = "`";
inline constexpr std::string_view geometry_format = "geometry format";

}  // namespace core::kept_texts
