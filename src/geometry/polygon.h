// The owner of an engine polygon, and `PolygonRef`, a polygon borrowed from a GeometryOwned by
// `downcast_ref`.
#pragma once

#include <string_view>

#include "geometry/geometry.h"
#include "geometry/multipart.h"

namespace geometry::polygon {

class Polygon : public handle::Owner<Polygon, &bindings::CorvaneFFI::KX_Geometry_destroy, "Polygon", "Geometry">,
                public geometry::Geometry<Polygon>,
                public json_serializable::JSONSerializable<Polygon>,
                public multipart::Multipart<Polygon> {
public:
    using BasicOwner::BasicOwner;
    static constexpr geometry_type::GeometryType kind = geometry_type::GeometryType::Polygon;
    static constexpr std::string_view type_name = "geometry::polygon::Polygon";
    using Ref = handle::View<KX_GeometryHandle, geometry::Geometry, json_serializable::JSONSerializable,
                             multipart::Multipart>;
};

using PolygonRef = Polygon::Ref;

}  // namespace geometry::polygon
