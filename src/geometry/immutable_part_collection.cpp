#include "geometry/immutable_part_collection.h"

#include "geometry/immutable_part_collection_iter.h"

namespace geometry::immutable_part_collection {

uint64_t ImmutablePartCollection::size() const {
    return call_or_stop(NAMED_ENGINE_CALL(ImmutablePartCollection_getSize, handle()));
}

Result<immutable_part::ImmutablePart> ImmutablePartCollection::get_part(uint64_t index) const {
    return handle::create<immutable_part::ImmutablePart>(ENGINE_CALL(ImmutablePartCollection_getPart, handle(), index));
}

immutable_part_collection_iter::ImmutablePartIntoIter ImmutablePartCollection::into_iter() && {
    return immutable_part_collection_iter::ImmutablePartIntoIter(std::move(*this));
}

}  // namespace geometry::immutable_part_collection
