// The engine's own JSON text of a geometry (not the module's VeltJSON text), both ways.
#pragma once

#include <string>
#include <string_view>

#include "geometry/handle.h"

namespace geometry::geometry {
class GeometryOwned;
}

namespace geometry::json_serializable {

namespace detail {
std::string to_json(KX_GeometryHandle geometry);
}

// Mixed into every geometry owner.
template <typename Self>
class JSONSerializable {
public:
    std::string to_json() const { return detail::to_json(static_cast<const Self&>(*this).handle()); }
};

// Parses the engine's JSON text; text the engine rejects is its error. Text holding a NUL
// character is a stop before any engine call.
Result<geometry::GeometryOwned> from_json(std::string_view text);

}  // namespace geometry::json_serializable
