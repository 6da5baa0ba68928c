#include "geometry/multipoint_builder.h"

#include "geometry/environment.h"

namespace geometry::multipoint_builder {

MultipointBuilder MultipointBuilder::with_spatial_reference(const spatial_reference::SpatialReference* sr) {
    environment::init();
    return handle::create_or_stop<MultipointBuilder>(
        NAMED_ENGINE_CALL(MultipointBuilder_createFromSpatialReference, handle::raw_or_null(sr)));
}

void MultipointBuilder::set_points(const mutable_point_collection::MutablePointCollection& points) const {
    call_or_stop(NAMED_ENGINE_CALL(MultipointBuilder_setPoints, handle(), points.handle()));
}

}  // namespace geometry::multipoint_builder
