// DatumTransformation, the class of vornix_geometry.projection that owns one engine datum
// transformation. Python code cannot make one: objects come from the projection functions.
#pragma once

#include "geometry/datum_transformation.h"
#include "python/binding/binding.h"

namespace vornix::projection {

struct PyDatumTransformation {
    ::geometry::datum_transformation::DatumTransformationOwned transformation;
    static binding::ClassSpec class_spec();
};

}  // namespace vornix::projection
