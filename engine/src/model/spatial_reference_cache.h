// Spatial references already made, by what they were made from. Making one costs a PROJ database
// lookup (tens of microseconds), and callers make the same few again for every geometry they hand
// over; the values are immutable, so one made earlier serves as well as a new one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "model/spatial_reference.h"

namespace model {

// What a spatial reference is made from: a horizontal and vertical ID, or a well-known text.
struct SpatialReferenceKey {
    int32_t wkid = 0;
    int32_t vertical_wkid = 0;
    bool from_text = false;
    std::string wktext;

    bool operator==(const SpatialReferenceKey&) const = default;
};

// The value made earlier from `key`, else the one `make` returns. Only values are kept: an error
// thrown by `make` passes through and is raised afresh on the next try, with PROJ's own text.
// The database is always PROJ's own, so a value stays right when the grid directory changes.
SpatialReferencePtr cached_spatial_reference(const SpatialReferenceKey& key,
                                             const std::function<SpatialReferencePtr()>& make);

}  // namespace model
