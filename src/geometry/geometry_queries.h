// `Geometry`, the queries that every geometry owner answers. Apart from GeometryOwned so that the
// owners it returns (Envelope) can derive from it before their own definition is complete.
#pragma once

#include <optional>
#include <utility>

#include "geometry/geometry_type.h"
#include "geometry/handle.h"
#include "geometry/spatial_reference.h"

namespace geometry::envelope {
class Envelope;
}

namespace geometry::geometry {

namespace detail {
bool has_z(KX_GeometryHandle geometry);
bool has_m(KX_GeometryHandle geometry);
bool has_curves(KX_GeometryHandle geometry);
envelope::Envelope extent(KX_GeometryHandle geometry);
std::optional<spatial_reference::SpatialReference> spatial_reference(KX_GeometryHandle geometry);
geometry_type::GeometryType object_type(KX_GeometryHandle geometry);

// A z or m value, read only where the geometry has one.
template <typename Read>
std::optional<double> if_present(bool present, Read&& read) {
    if (!present) return std::nullopt;
    return std::forward<Read>(read)();
}
}  // namespace detail

// The queries of every geometry owner; each makes one engine call (object_type aside, nothing is
// cached), and an engine error in any of them is a stop.
template <typename Self>
class Geometry {
public:
    bool has_z() const { return detail::has_z(raw()); }
    bool has_m() const { return detail::has_m(raw()); }
    bool has_curves() const { return detail::has_curves(raw()); }
    envelope::Envelope extent() const;
    // None when the geometry has no spatial reference.
    std::optional<spatial_reference::SpatialReference> spatial_reference() const {
        return detail::spatial_reference(raw());
    }
    geometry_type::GeometryType object_type() const { return detail::object_type(raw()); }

private:
    KX_GeometryHandle raw() const { return static_cast<const Self&>(*this).handle(); }
};

}  // namespace geometry::geometry
