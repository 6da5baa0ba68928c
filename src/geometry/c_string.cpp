#include "geometry/c_string.h"

#include "base/interior_nul.h"

namespace geometry::c_string {

Result<std::string> copy(std::string_view text, std::string_view message, std::string_view what) {
    if (const auto at = core::interior_nul::first(text))
        return std::unexpected(Error{kInteriorNulCode, std::string(message), core::interior_nul::refusal(what, *at)});
    return std::string(text);
}

}  // namespace geometry::c_string
