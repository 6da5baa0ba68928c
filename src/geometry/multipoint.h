// The owner of an engine multipoint.
#pragma once

#include <string_view>

#include "geometry/geometry.h"
#include "geometry/immutable_point_collection_iter.h"

namespace geometry::multipoint {

class Multipoint
    : public handle::Owner<Multipoint, &bindings::CorvaneFFI::KX_Geometry_destroy, "Multipoint", "Geometry">,
      public geometry::Geometry<Multipoint>,
      public json_serializable::JSONSerializable<Multipoint> {
public:
    using BasicOwner::BasicOwner;
    static constexpr geometry_type::GeometryType kind = geometry_type::GeometryType::Multipoint;
    static constexpr std::string_view type_name = "geometry::multipoint::Multipoint";

    immutable_point_collection::ImmutablePointCollection points() const;
};

}  // namespace geometry::multipoint
