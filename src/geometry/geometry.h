// GeometryOwned, the owner of an engine geometry of any kind, and `Geometry`, the queries that
// every geometry owner answers.
#pragma once

#include <concepts>
#include <optional>
#include <string_view>
#include <utility>

#include "geometry/geometry_type.h"
#include "geometry/handle.h"
#include "geometry/json_serializable.h"
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

// A typed geometry owner: its kind code and its name in the conversion error.
template <typename T>
concept TypedGeometry = requires {
    { T::kind } -> std::convertible_to<geometry_type::GeometryType>;
    { T::type_name } -> std::convertible_to<std::string_view>;
};

class GeometryOwned
    : public handle::Owner<GeometryOwned, &bindings::CorvaneFFI::KX_Geometry_destroy, "GeometryOwned", "Geometry">,
      public Geometry<GeometryOwned>,
      public json_serializable::JSONSerializable<GeometryOwned> {
public:
    using BasicOwner::BasicOwner;

    // A typed owner goes on as a general geometry: the handle moves, no engine call.
    template <TypedGeometry T>
    static GeometryOwned from(T&& typed) {
        return from_handle(std::move(typed).release());
    }
};

}  // namespace geometry::geometry

// The body of `Geometry::extent` follows the definition of Envelope, at the end of that header.
#include "geometry/envelope.h"
