// The engine builder of a polygon from a part collection.
#pragma once

#include "geometry/multipart_builder.h"

namespace geometry::polygon_builder {

using PolygonBuilder =
    multipart_builder::MultipartGeometryBuilder<"PolygonBuilder",
                                                ENGINE_SLOT(PolygonBuilder_createFromSpatialReference)>;

}  // namespace geometry::polygon_builder
