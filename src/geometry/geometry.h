// GeometryOwned, the owner of an engine geometry of any kind.
#pragma once

#include <concepts>
#include <string_view>
#include <utility>

#include "geometry/envelope.h"
#include "geometry/geometry_queries.h"
#include "geometry/json_serializable.h"

namespace geometry::geometry {

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

