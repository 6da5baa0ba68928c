#include "geometry/json_serializable.h"

#include "base/interior_nul.h"
#include "geometry/environment.h"
#include "geometry/geometry.h"

namespace geometry::json_serializable {

std::string detail::to_json(KX_GeometryHandle geometry) {
    return string_from_handle(call_or_stop(NAMED_ENGINE_CALL(Geometry_toJSON, geometry)));
}

Result<geometry::GeometryOwned> from_json(std::string_view text) {
    environment::init();
    if (core::interior_nul::first(text))
        core::stop("Internal error: The module's strings are always valid UTF-8");
    const std::string buffer(text);
    return handle::create<geometry::GeometryOwned>(ENGINE_CALL(Geometry_fromJSON, buffer.c_str()));
}

}  // namespace geometry::json_serializable
