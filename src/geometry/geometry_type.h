// The engine's code for the kind of a geometry (KX_Geometry_getObjectType).
#pragma once

#include <cstdint>

#include "geometry/error.h"

namespace geometry::geometry_type {

enum class GeometryType : int32_t {
    Unknown = -1,  // a geometry of no recognised kind: valid, but no typed owner narrows to it
    Point = 1,
    Envelope = 2,
    Polyline = 3,
    Polygon = 4,
    Multipoint = 5,
};

// The code as a GeometryType; any other code is the conversion error.
Result<GeometryType> try_from(int32_t code);

}  // namespace geometry::geometry_type
