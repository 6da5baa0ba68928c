// The owner of an engine spatial reference: made from a well-known ID, a horizontal and a vertical
// well-known ID, or well-known text; it answers its IDs and its text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "geometry/handle.h"

namespace geometry::spatial_reference {

class SpatialReference
    : public handle::Owner<SpatialReference, &bindings::CorvaneFFI::KX_SpatialReference_destroy, "SpatialReference",
                           "SpatialReference"> {
public:
    using BasicOwner::BasicOwner;

    static Result<SpatialReference> with_wkid(uint32_t wkid);
    static Result<SpatialReference> with_wkid_vertical_wkid(uint32_t wkid, uint32_t vertical_wkid);
    // Text holding a NUL character cannot reach the engine; it is an ordinary error, since callers
    // hold a model lock at that point and a stop would poison it.
    static Result<SpatialReference> with_wktext(std::string_view wktext);

    uint32_t wkid() const;
    uint32_t vertical_wkid() const;
    std::string wktext() const;
};

}  // namespace geometry::spatial_reference
