#pragma once

#include "geometry/immutable_point_collection.h"
#include "geometry/into_iter.h"

namespace geometry::immutable_point_collection_iter {

class ImmutablePointIntoIter
    : public into_iter::IntoIter<immutable_point_collection::ImmutablePointCollection,
                                 &immutable_point_collection::ImmutablePointCollection::get_point,
                                 immutable_point_collection::kPointIndexOutOfRange> {
public:
    using IntoIter::IntoIter;
};

}  // namespace geometry::immutable_point_collection_iter
