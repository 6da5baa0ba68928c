// The builders of polylines, polygons and multipoints. A builder keeps what it is given (shared
// with the collection it came from) and can make any number of geometries from it.
#pragma once

#include <memory>
#include <vector>

#include "model/geometry.h"
#include "model/object.h"
#include "model/part.h"
#include "model/pool.h"

namespace model {

class GeometryBuilder : public Object {
public:
    GeometryBuilder(GeometryKind kind, SpatialReferencePtr sr)
        : Object(ClassTag::GeometryBuilder), kind(kind), spatial_reference(std::move(sr)) {}
    MODEL_POOLED(GeometryBuilder)

    // The geometry of the parts or points given so far: rings closed for a polygon, dimensions
    // those of the vertices given. Parts no one else holds move into the geometry uncopied; the
    // builder then shares them with it.
    std::unique_ptr<Geometry> build();

    GeometryKind kind;
    SpatialReferencePtr spatial_reference;
    std::vector<std::shared_ptr<const Part>> parts;  // polyline and polygon builders, shared with their collection
    std::vector<Vertex> points;  // multipoint builder
    Dims dims;
};

}  // namespace model
