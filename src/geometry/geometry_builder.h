// `GeometryBuilder`: what every engine builder gives, its geometry.
#pragma once

#include "geometry/geometry.h"

namespace geometry::geometry_builder {

namespace detail {
geometry::GeometryOwned to_geometry(KX_GeometryBuilderHandle builder);
}

template <typename Self>
class GeometryBuilder {
public:
    // A new geometry; the builder stays usable.
    geometry::GeometryOwned to_geometry() const {
        return detail::to_geometry(static_cast<const Self&>(*this).handle());
    }
};

}  // namespace geometry::geometry_builder
