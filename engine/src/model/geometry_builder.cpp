#include "model/geometry_builder.h"

#include "model/multipart.h"
#include "model/multipoint.h"

namespace model {

std::unique_ptr<Geometry> GeometryBuilder::build() const {
    std::unique_ptr<Geometry> result;
    if (kind == GeometryKind::Multipoint) {
        result = std::make_unique<Multipoint>(points, dims);
    } else {
        std::vector<Part> copy;
        copy.reserve(parts.size());
        for (const auto& part : parts) {
            copy.push_back(*part);
            if (kind == GeometryKind::Polygon) close_ring(copy.back());
        }
        result = std::make_unique<Multipart>(kind, std::move(copy), dims);
    }
    result->set_spatial_reference(spatial_reference);
    return result;
}

}  // namespace model
