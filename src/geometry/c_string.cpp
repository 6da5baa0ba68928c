#include "geometry/c_string.h"

namespace geometry::c_string {

std::optional<size_t> first_nul(std::string_view text) {
    const size_t at = text.find('\0');
    if (at == std::string_view::npos) return std::nullopt;
    return at;
}

Result<std::string> copy(std::string_view text, std::string_view message, std::string_view what) {
    if (const auto at = first_nul(text))
        return std::unexpected(Error{kInteriorNulCode, std::string(message),
                                     std::string(what) + " holds a NUL character at position " +
                                         std::to_string(*at) + "."});
    return std::string(text);
}

}  // namespace geometry::c_string
