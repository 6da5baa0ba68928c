#include "geometry/handle.h"

#include "base/pending_fault.h"

namespace geometry::handle {

void destroy_failed(std::string_view text, const Error& error) noexcept {
    try {
        core::defer(stop_text(text, error));
    } catch (const std::exception& failed) {
        core::defer(failed.what());
    }
}

}  // namespace geometry::handle
