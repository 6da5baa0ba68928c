#include "geometry/geometry_type.h"

namespace geometry::geometry_type {

Result<GeometryType> try_from(int32_t code) {
    switch (code) {
        case -1:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
            return static_cast<GeometryType>(code);
        default:
            return std::unexpected(Error::new_conversion_error("bindings::KX_GeometryType", "GeometryType"));
    }
}

}  // namespace geometry::geometry_type
