#include "geometry/handle.h"

#include <cstdio>
#include <exception>

namespace geometry::handle {

void destroy_failed(std::string_view text, const Error& error) {
    if (std::uncaught_exceptions() == 0) stop_with(text, error);
    std::fprintf(stderr, "WARNING: fault while another fault was unwinding: %.*s: %s\n",
                 static_cast<int>(text.size()), text.data(), error.record_form().c_str());
}

}  // namespace geometry::handle
