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

// A new DatumTransformation owning the engine's transformation.
binding::PyResult<binding::Ref> wrap(::geometry::datum_transformation::DatumTransformationOwned transformation);

}  // namespace vornix::projection
