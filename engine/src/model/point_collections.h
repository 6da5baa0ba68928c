// Lists of points: the one a multipoint builder is given and the read-only snapshot of the
// points of a multipoint or a part.
#pragma once

#include <memory>
#include <vector>

#include "model/object.h"
#include "model/pool.h"
#include "model/spatial_reference.h"
#include "model/vertex.h"

namespace model {

class MutablePointCollection : public Object {
public:
    explicit MutablePointCollection(SpatialReferencePtr sr)
        : Object(ClassTag::MutablePointCollection), spatial_reference(std::move(sr)) {}

    std::vector<Vertex> points;
    Dims dims;  // what the points added carried
    SpatialReferencePtr spatial_reference;
};

// Shares its data with what it was read from: the points of a part are not copied.
class ImmutablePointCollection : public Object {
public:
    ImmutablePointCollection(std::shared_ptr<const std::vector<Vertex>> p, Dims dims, SpatialReferencePtr sr)
        : Object(ClassTag::ImmutablePointCollection), storage_(std::move(p)), points(*storage_), dims(dims),
          spatial_reference(std::move(sr)) {}
    MODEL_POOLED(ImmutablePointCollection)

private:
    std::shared_ptr<const std::vector<Vertex>> storage_;

public:
    const std::vector<Vertex>& points;
    Dims dims;
    SpatialReferencePtr spatial_reference;
};

}  // namespace model
