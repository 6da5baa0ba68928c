// The engine builder of a multipoint from a point collection.
#pragma once

#include "geometry/geometry_builder.h"
#include "geometry/mutable_point_collection.h"

namespace geometry::multipoint_builder {

class MultipointBuilder
    : public handle::Owner<MultipointBuilder, &bindings::CorvaneFFI::KX_GeometryBuilder_destroy, "MultipointBuilder",
                           "GeometryBuilder">,
      public geometry_builder::GeometryBuilder<MultipointBuilder> {
public:
    using BasicOwner::BasicOwner;

    // With the spatial reference (null for none).
    static MultipointBuilder with_spatial_reference(const spatial_reference::SpatialReference* sr);

    // The builder keeps what it needs: the collection may be destroyed right after.
    void set_points(const mutable_point_collection::MutablePointCollection& points) const;
};

}  // namespace geometry::multipoint_builder
