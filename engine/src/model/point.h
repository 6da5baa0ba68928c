// An engine point. The empty point has NaN x.
#pragma once

#include "model/geometry.h"
#include "model/pool.h"
#include "model/vertex.h"

namespace model {

class Point : public Geometry {
public:
    Point(Vertex v, Dims d) : vertex(v) { dims = d; }
    GeometryKind kind() const override { return GeometryKind::Point; }
    std::unique_ptr<Geometry> clone() const override { return std::make_unique<Point>(*this); }
    MODEL_POOLED(Point)

    Vertex vertex;
};

}  // namespace model
