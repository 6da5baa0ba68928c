// The owner of an engine polyline.
#pragma once

#include <string_view>

#include "geometry/geometry.h"
#include "geometry/multipart.h"

namespace geometry::polyline {

class Polyline : public handle::Owner<Polyline, &bindings::CorvaneFFI::KX_Geometry_destroy, "Polyline", "Geometry">,
                 public geometry::Geometry<Polyline>,
                 public json_serializable::JSONSerializable<Polyline>,
                 public multipart::Multipart<Polyline> {
public:
    using BasicOwner::BasicOwner;
    static constexpr geometry_type::GeometryType kind = geometry_type::GeometryType::Polyline;
    static constexpr std::string_view type_name = "geometry::polyline::Polyline";
};

}  // namespace geometry::polyline
