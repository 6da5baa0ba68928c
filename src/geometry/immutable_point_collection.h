// The read-only list of the points of a multipoint or of a part.
#pragma once

#include <cstdint>

#include "geometry/point.h"

namespace geometry::immutable_point_collection_iter {
class ImmutablePointIntoIter;
}

namespace geometry::immutable_point_collection {

class ImmutablePointCollection
    : public handle::Owner<ImmutablePointCollection, &bindings::CorvaneFFI::KX_ImmutablePointCollection_destroy,
                           "ImmutablePointCollection", "ImmutablePointCollection"> {
public:
    using BasicOwner::BasicOwner;

    uint64_t size() const;
    // The index goes to the engine untested; its error is returned.
    Result<point::Point> get_point(uint64_t index) const;
    immutable_point_collection_iter::ImmutablePointIntoIter into_iter() &&;
};

}  // namespace geometry::immutable_point_collection
