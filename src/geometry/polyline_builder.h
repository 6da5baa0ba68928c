// The engine builder of a polyline from a part collection.
#pragma once

#include "geometry/multipart_builder.h"

namespace geometry::polyline_builder {

using PolylineBuilder =
    multipart_builder::MultipartGeometryBuilder<"PolylineBuilder",
                                                ENGINE_SLOT(PolylineBuilder_createFromSpatialReference)>;

}  // namespace geometry::polyline_builder
