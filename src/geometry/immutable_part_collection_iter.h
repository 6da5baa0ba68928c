#pragma once

#include "geometry/immutable_part_collection.h"
#include "geometry/into_iter.h"

namespace geometry::immutable_part_collection_iter {

class ImmutablePartIntoIter
    : public into_iter::IntoIter<immutable_part_collection::ImmutablePartCollection,
                                 &immutable_part_collection::ImmutablePartCollection::get_part,
                                 "Internal error: Index of part out of range"> {
public:
    using IntoIter::IntoIter;
};

}  // namespace geometry::immutable_part_collection_iter
