// The engine's code for the kind of a geometry (KX_Geometry_getObjectType).
#pragma once

#include <cstdint>

#include "corvane/corvane.h"
#include "geometry/error.h"

namespace geometry::geometry_type {

enum class GeometryType : int32_t {
    Unknown = KX_GEOMETRY_TYPE_UNKNOWN,  // a geometry of no recognised kind: valid, but no typed owner narrows to it
    Point = KX_GEOMETRY_TYPE_POINT,
    Envelope = KX_GEOMETRY_TYPE_ENVELOPE,
    Polyline = KX_GEOMETRY_TYPE_POLYLINE,
    Polygon = KX_GEOMETRY_TYPE_POLYGON,
    Multipoint = KX_GEOMETRY_TYPE_MULTIPOINT,
};

// The code as a GeometryType; any other code is the conversion error.
Result<GeometryType> try_from(int32_t code);

}  // namespace geometry::geometry_type
