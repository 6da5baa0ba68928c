// The owner of an engine point: its constructors from coordinates and its coordinate getters.
#pragma once

#include <optional>
#include <string_view>

#include "geometry/geometry.h"

namespace geometry::point {

class Point : public handle::Owner<Point, &bindings::CorvaneFFI::KX_Geometry_destroy, "Point", "Geometry">,
              public geometry::Geometry<Point>,
              public json_serializable::JSONSerializable<Point> {
public:
    using BasicOwner::BasicOwner;
    static constexpr geometry_type::GeometryType kind = geometry_type::GeometryType::Point;
    static constexpr std::string_view type_name = "geometry::point::Point";

    static Point with_x_y(double x, double y);
    static Point with_x_y_spatial_reference(double x, double y, const spatial_reference::SpatialReference& sr);
    static Point with_x_y_z_m(double x, double y, std::optional<double> z, std::optional<double> m);
    static Point with_x_y_z_m_spatial_reference(double x, double y, std::optional<double> z, std::optional<double> m,
                                                const spatial_reference::SpatialReference& sr);

    double x() const;
    double y() const;
    // None when the point has no z (or m); the value is then not asked for.
    std::optional<double> z() const;
    std::optional<double> m() const;
    // The same for a point whose dimensions the caller knows already (a vertex of a part takes its
    // geometry's): `has_z` (`has_m`) false gives none without asking the engine anything.
    std::optional<double> z_if(bool has_z) const;
    std::optional<double> m_if(bool has_m) const;
};

}  // namespace geometry::point
