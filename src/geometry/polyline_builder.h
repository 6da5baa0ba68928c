// The engine builder of a polyline from a part collection.
#pragma once

#include "geometry/multipart_builder.h"

namespace geometry::polyline_builder {

using PolylineBuilder =
    multipart_builder::MultipartGeometryBuilder<"PolylineBuilder",
                                                &bindings::CorvaneFFI::KX_PolylineBuilder_createFromSpatialReference,
                                                "KX_PolylineBuilder_createFromSpatialReference">;

}  // namespace geometry::polyline_builder
