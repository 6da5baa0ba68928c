// An engine polyline (parts are paths) or polygon (parts are rings, stored without their closing
// vertex). Its dimensions are its own: fixed when it is built, not re-derived from its parts.
#pragma once

#include <memory>
#include <vector>

#include "model/geometry.h"
#include "model/part.h"
#include "model/part_storage.h"

namespace model {

class Multipart : public Geometry {
public:
    Multipart(GeometryKind kind, std::vector<Part> parts, Dims d)
        : storage_(shared_part_list(std::move(parts))), parts(*storage_), kind_(kind) {
        dims = d;
    }
    // A copy has data of its own, which the operation that made it may still change.
    Multipart(const Multipart& other)
        : Geometry(other), storage_(shared_part_list(other.parts)), parts(*storage_),
          kind_(other.kind_) {}
    Multipart& operator=(const Multipart&) = delete;

    GeometryKind kind() const override { return kind_; }
    std::unique_ptr<Geometry> clone() const override { return std::make_unique<Multipart>(*this); }
    bool rings() const { return kind_ == GeometryKind::Polygon; }

    // The parts, shared with a read-only part list: a geometry behind a handle never changes, so
    // the list handed out reads the geometry's own data and still outlives it.
    std::shared_ptr<const std::vector<Part>> shared_parts() const { return storage_; }

private:
    std::shared_ptr<std::vector<Part>> storage_;

public:
    std::vector<Part>& parts;

private:
    GeometryKind kind_;
};

}  // namespace model
