// The owner of an engine datum transformation.
#pragma once

#include "geometry/handle.h"

namespace geometry::datum_transformation {

class DatumTransformationOwned
    : public handle::Owner<DatumTransformationOwned, &bindings::CorvaneFFI::KX_DatumTransformation_destroy,
                           "DatumTransformationOwned", "DatumTransformation"> {
public:
    using BasicOwner::BasicOwner;
};

}  // namespace geometry::datum_transformation
