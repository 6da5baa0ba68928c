// An engine polyline (parts are paths) or polygon (parts are rings, stored without their closing
// vertex). Its dimensions are its own: fixed when it is built, not re-derived from its parts.
#pragma once

#include <vector>

#include "model/geometry.h"
#include "model/part.h"

namespace model {

class Multipart : public Geometry {
public:
    Multipart(GeometryKind kind, std::vector<Part> parts, Dims d) : parts(std::move(parts)), kind_(kind) {
        dims = d;
    }
    GeometryKind kind() const override { return kind_; }
    std::unique_ptr<Geometry> clone() const override { return std::make_unique<Multipart>(*this); }
    bool rings() const { return kind_ == GeometryKind::Polygon; }

    std::vector<Part> parts;

private:
    GeometryKind kind_;
};

}  // namespace model
