// An engine multipoint.
#pragma once

#include <memory>
#include <vector>

#include "model/geometry.h"
#include "model/vertex.h"

namespace model {

class Multipoint : public Geometry {
public:
    Multipoint(std::vector<Vertex> points, Dims d)
        : storage_(std::make_shared<std::vector<Vertex>>(std::move(points))), points(*storage_) {
        dims = d;
    }
    // A copy has data of its own, which the operation that made it may still change.
    Multipoint(const Multipoint& other)
        : Geometry(other), storage_(std::make_shared<std::vector<Vertex>>(other.points)), points(*storage_) {}
    Multipoint& operator=(const Multipoint&) = delete;

    GeometryKind kind() const override { return GeometryKind::Multipoint; }
    std::unique_ptr<Geometry> clone() const override { return std::make_unique<Multipoint>(*this); }

    // The points, shared with a read-only point list (see Multipart::shared_parts).
    std::shared_ptr<const std::vector<Vertex>> shared_points() const { return storage_; }

private:
    std::shared_ptr<std::vector<Vertex>> storage_;

public:
    std::vector<Vertex>& points;
};

}  // namespace model
