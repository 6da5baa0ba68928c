// A part under construction: a path until a polygon builder turns it into a ring.
#pragma once

#include "model/object.h"
#include "model/part.h"
#include "model/spatial_reference.h"

namespace model {

class MutablePart : public Object {
public:
    explicit MutablePart(SpatialReferencePtr sr, Part p = {})
        : Object(ClassTag::MutablePart), part(std::move(p)), spatial_reference(std::move(sr)) {}

    Part part;
    SpatialReferencePtr spatial_reference;
};

}  // namespace model
