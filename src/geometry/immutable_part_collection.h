// The read-only list of the parts of a polyline or polygon.
#pragma once

#include <cstdint>

#include "geometry/immutable_part.h"

namespace geometry::immutable_part_collection_iter {
class ImmutablePartIntoIter;
}

namespace geometry::immutable_part_collection {

class ImmutablePartCollection
    : public handle::Owner<ImmutablePartCollection, &bindings::CorvaneFFI::KX_ImmutablePartCollection_destroy,
                           "ImmutablePartCollection", "ImmutablePartCollection"> {
public:
    using BasicOwner::BasicOwner;

    uint64_t size() const;
    // The index goes to the engine untested; its error is returned.
    Result<immutable_part::ImmutablePart> get_part(uint64_t index) const;
    immutable_part_collection_iter::ImmutablePartIntoIter into_iter() &&;
};

}  // namespace geometry::immutable_part_collection
