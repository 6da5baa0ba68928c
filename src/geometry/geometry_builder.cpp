#include "geometry/geometry_builder.h"

namespace geometry::geometry_builder {

geometry::GeometryOwned detail::to_geometry(KX_GeometryBuilderHandle builder) {
    return handle::create_or_stop<geometry::GeometryOwned>(NAMED_ENGINE_CALL(GeometryBuilder_toGeometry, builder));
}

}  // namespace geometry::geometry_builder
