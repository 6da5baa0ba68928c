// An ordered list of engine parts under construction; the parts added stay with the caller.
#pragma once

#include <cstdint>

#include "geometry/mutable_part.h"

namespace geometry::mutable_part_collection {

class MutablePartCollection
    : public handle::Owner<MutablePartCollection, &bindings::CorvaneFFI::KX_MutablePartCollection_destroy,
                           "MutablePartCollection", "MutablePartCollection"> {
public:
    using BasicOwner::BasicOwner;

    static MutablePartCollection with_spatial_reference(const spatial_reference::SpatialReference* sr);

    uint64_t size() const;
    void add_part(const mutable_part::MutablePart& part) const;
    // A new part; the index goes to the engine untested and its error is returned.
    Result<mutable_part::MutablePart> get_part(uint64_t index) const;
};

}  // namespace geometry::mutable_part_collection
