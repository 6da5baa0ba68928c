#include "geometry/geometry_type.h"

namespace geometry::geometry_type {

Result<GeometryType> try_from(int32_t code) {
    switch (code) {
        case KX_GEOMETRY_TYPE_UNKNOWN:
        case KX_GEOMETRY_TYPE_POINT:
        case KX_GEOMETRY_TYPE_ENVELOPE:
        case KX_GEOMETRY_TYPE_POLYLINE:
        case KX_GEOMETRY_TYPE_POLYGON:
        case KX_GEOMETRY_TYPE_MULTIPOINT:
            return static_cast<GeometryType>(code);
        default:
            return std::unexpected(Error::new_conversion_error("bindings::KX_GeometryType", "GeometryType"));
    }
}

}  // namespace geometry::geometry_type
