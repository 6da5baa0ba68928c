#include "geometry/mutable_point_collection.h"

#include "geometry/environment.h"

namespace geometry::mutable_point_collection {

MutablePointCollection MutablePointCollection::with_spatial_reference(const spatial_reference::SpatialReference* sr) {
    environment::init();
    return handle::create_or_stop<MutablePointCollection>(
        NAMED_ENGINE_CALL(MutablePointCollection_createWithSpatialReference, handle::raw_or_null(sr)));
}

void MutablePointCollection::add_point(const point::Point& point) const {
    call_or_stop(NAMED_ENGINE_CALL(MutablePointCollection_addPoint, handle(), point.handle()));
}

}  // namespace geometry::mutable_point_collection
