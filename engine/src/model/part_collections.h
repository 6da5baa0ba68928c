// Lists of parts: the one a builder is given (parts as added, still paths) and the read-only
// snapshots a polyline or polygon hands out (its parts copied, so they outlive the geometry).
#pragma once

#include <vector>

#include "model/object.h"
#include "model/part.h"
#include "model/spatial_reference.h"

namespace model {

class MutablePartCollection : public Object {
public:
    explicit MutablePartCollection(SpatialReferencePtr sr)
        : Object(ClassTag::MutablePartCollection), spatial_reference(std::move(sr)) {}

    std::vector<Part> parts;
    SpatialReferencePtr spatial_reference;
};

// Shared by a read-only part and its collection: the geometry's dimensions and spatial reference.
struct PartContext {
    Dims dims;
    SpatialReferencePtr spatial_reference;
};

class ImmutablePart : public Object {
public:
    ImmutablePart(Part p, PartContext context)
        : Object(ClassTag::ImmutablePart), part(std::move(p)), context(std::move(context)) {}

    Part part;
    PartContext context;
};

class ImmutablePartCollection : public Object {
public:
    ImmutablePartCollection(std::vector<Part> p, PartContext context)
        : Object(ClassTag::ImmutablePartCollection), parts(std::move(p)), context(std::move(context)) {}

    std::vector<Part> parts;
    PartContext context;
};

}  // namespace model
