#include "geometry/mutable_part_collection.h"

#include "geometry/environment.h"

namespace geometry::mutable_part_collection {

MutablePartCollection MutablePartCollection::with_spatial_reference(const spatial_reference::SpatialReference* sr) {
    environment::init();
    return handle::create_or_stop<MutablePartCollection>(
        NAMED_ENGINE_CALL(MutablePartCollection_createWithSpatialReference, handle::raw_or_null(sr)));
}

uint64_t MutablePartCollection::size() const {
    return call_or_stop(NAMED_ENGINE_CALL(MutablePartCollection_getSize, handle()));
}

void MutablePartCollection::add_part(const mutable_part::MutablePart& part) const {
    call_or_stop(NAMED_ENGINE_CALL(MutablePartCollection_addPart, handle(), part.handle()));
}

Result<mutable_part::MutablePart> MutablePartCollection::get_part(uint64_t index) const {
    return handle::create<mutable_part::MutablePart>(ENGINE_CALL(MutablePartCollection_getPart, handle(), index));
}

}  // namespace geometry::mutable_part_collection
