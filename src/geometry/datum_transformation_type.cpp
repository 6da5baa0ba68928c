#include "geometry/datum_transformation_type.h"

namespace geometry::datum_transformation_type {

Result<DatumTransformationType> try_from(int32_t code) {
    switch (code) {
        case KX_DATUM_TRANSFORMATION_GEOGRAPHIC:
        case KX_DATUM_TRANSFORMATION_HORIZONTAL_VERTICAL:
            return static_cast<DatumTransformationType>(code);
        default:
            return std::unexpected(
                Error::new_conversion_error("bindings::KX_DatumTransformationType", "DatumTransformationType"));
    }
}

}  // namespace geometry::datum_transformation_type
