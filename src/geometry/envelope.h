// The owner of an engine envelope: its constructors from bounds, its bound getters and its centre.
#pragma once

#include <optional>
#include <string_view>
#include <utility>

#include "geometry/geometry_queries.h"
#include "geometry/json_serializable.h"

namespace geometry::point {
class Point;
}

namespace geometry::envelope {

// A (minimum, maximum) pair.
using Range = std::pair<double, double>;

class Envelope : public handle::Owner<Envelope, &bindings::CorvaneFFI::KX_Geometry_destroy, "Envelope", "Geometry">,
                 public geometry::Geometry<Envelope>,
                 public json_serializable::JSONSerializable<Envelope> {
public:
    using BasicOwner::BasicOwner;
    static constexpr geometry_type::GeometryType kind = geometry_type::GeometryType::Envelope;
    static constexpr std::string_view type_name = "geometry::envelope::Envelope";

    static Envelope with_x_y(double x_min, double x_max, double y_min, double y_max);
    static Envelope with_x_y_spatial_reference(double x_min, double x_max, double y_min, double y_max,
                                               const spatial_reference::SpatialReference& sr);
    static Envelope with_x_y_z_m(double x_min, double x_max, double y_min, double y_max, std::optional<Range> z,
                                 std::optional<Range> m);
    static Envelope with_x_y_z_m_spatial_reference(double x_min, double x_max, double y_min, double y_max,
                                                   std::optional<Range> z, std::optional<Range> m,
                                                   const spatial_reference::SpatialReference& sr);

    double x_min() const;
    double x_max() const;
    double y_min() const;
    double y_max() const;
    // None when the envelope has no z (or m) range; the bound is then not asked for.
    std::optional<double> z_min() const;
    std::optional<double> z_max() const;
    std::optional<double> m_min() const;
    std::optional<double> m_max() const;
    // A new, independent point.
    point::Point center() const;
};

}  // namespace geometry::envelope

// The body of `Geometry::extent`, which needs Envelope complete.
template <typename Self>
geometry::envelope::Envelope geometry::geometry::Geometry<Self>::extent() const {
    return detail::extent(raw());
}
