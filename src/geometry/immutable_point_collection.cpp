#include "geometry/immutable_point_collection.h"

#include "geometry/immutable_point_collection_iter.h"

namespace geometry::immutable_point_collection {

uint64_t ImmutablePointCollection::size() const {
    return call_or_stop(NAMED_ENGINE_CALL(ImmutablePointCollection_getSize, handle()));
}

Result<point::Point> ImmutablePointCollection::get_point(uint64_t index) const {
    return handle::create<point::Point>(ENGINE_CALL(ImmutablePointCollection_getPoint, handle(), index));
}

immutable_point_collection_iter::ImmutablePointIntoIter ImmutablePointCollection::into_iter() && {
    return immutable_point_collection_iter::ImmutablePointIntoIter(std::move(*this));
}

}  // namespace geometry::immutable_point_collection
