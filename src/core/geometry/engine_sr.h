// Small helpers of the conversions into the engine.
#pragma once

#include <optional>

#include "core/geometry/errors.h"
#include "core/geometry/spatial_reference.h"
#include "geometry/spatial_reference.h"

namespace core::geometry {

using EngineSr = std::optional<::geometry::spatial_reference::SpatialReference>;

// The borrowed handle argument of an engine constructor: null when there is no spatial reference.
inline const ::geometry::spatial_reference::SpatialReference* borrow(const EngineSr& sr) {
    return sr ? &*sr : nullptr;
}

// The engine spatial references of one call that converts many geometries (the collection
// functions), where the same model spatial reference mostly repeats from item to item: the last
// one made is lent again while the model's stays equal. The engine copies what it borrows, so the
// geometries made before a change keep theirs. Lives as long as the call, never longer.
class EngineSrMemo {
public:
    EngineSrMemo();
    EngineSrMemo(EngineSrMemo&&) noexcept;
    EngineSrMemo& operator=(EngineSrMemo&&) = delete;
    ~EngineSrMemo();

    // The engine spatial reference of `sr`, valid until the next call; to_geom_sr's error as it is.
    GeoResult<const EngineSr*> lend(const std::optional<SpatialReference>& sr);

private:
    std::optional<std::optional<SpatialReference>> key_;  // the model one `engine_` was made from
    EngineSr engine_;
};

// The engine spatial reference of one conversion: lent by `memo` when there is one, else made into
// `own` (the caller's, living as long as the conversion).
GeoResult<const EngineSr*> engine_sr_of(const std::optional<SpatialReference>& sr, EngineSrMemo* memo, EngineSr& own);

}  // namespace core::geometry
