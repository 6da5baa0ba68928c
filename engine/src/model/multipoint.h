// An engine multipoint.
#pragma once

#include <vector>

#include "model/geometry.h"
#include "model/vertex.h"

namespace model {

class Multipoint : public Geometry {
public:
    Multipoint(std::vector<Vertex> points, Dims d) : points(std::move(points)) { dims = d; }
    GeometryKind kind() const override { return GeometryKind::Multipoint; }
    std::unique_ptr<Geometry> clone() const override { return std::make_unique<Multipoint>(*this); }

    std::vector<Vertex> points;
};

}  // namespace model
