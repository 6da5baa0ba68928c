#include "python/datum_transformation.h"

namespace vornix::projection {

binding::ClassSpec PyDatumTransformation::class_spec() {
    return {
        .name = "vornix_geometry.projection.DatumTransformation",
        .doc = "",
    };
}

}  // namespace vornix::projection
