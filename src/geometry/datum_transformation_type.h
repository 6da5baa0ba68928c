// The engine's code for the kind of a datum transformation (KX_DatumTransformation_getObjectType).
#pragma once

#include <cstdint>

#include "geometry/error.h"

namespace geometry::datum_transformation_type {

enum class DatumTransformationType : int32_t {
    Geographic = KX_DATUM_TRANSFORMATION_GEOGRAPHIC,
    HorizontalVertical = KX_DATUM_TRANSFORMATION_HORIZONTAL_VERTICAL,
};

// The code as a DatumTransformationType; any other code is the conversion error.
Result<DatumTransformationType> try_from(int32_t code);

}  // namespace geometry::datum_transformation_type
