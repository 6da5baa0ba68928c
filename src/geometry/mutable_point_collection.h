// An ordered list of engine points under construction; the points added stay with the caller.
#pragma once

#include "geometry/point.h"

namespace geometry::mutable_point_collection {

class MutablePointCollection
    : public handle::Owner<MutablePointCollection, &bindings::CorvaneFFI::KX_MutablePointCollection_destroy,
                           "MutablePointCollection", "MutablePointCollection"> {
public:
    using BasicOwner::BasicOwner;

    static MutablePointCollection with_spatial_reference(const spatial_reference::SpatialReference* sr);

    void add_point(const point::Point& point) const;
};

}  // namespace geometry::mutable_point_collection
