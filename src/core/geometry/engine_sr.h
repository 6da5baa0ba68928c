// Small helpers of the conversions into the engine.
#pragma once

#include <optional>

#include "geometry/spatial_reference.h"

namespace core::geometry {

using EngineSr = std::optional<::geometry::spatial_reference::SpatialReference>;

// The borrowed handle argument of an engine constructor: null when there is no spatial reference.
inline const ::geometry::spatial_reference::SpatialReference* borrow(const EngineSr& sr) {
    return sr ? &*sr : nullptr;
}

}  // namespace core::geometry
