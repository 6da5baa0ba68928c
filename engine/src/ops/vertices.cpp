#include "ops/vertices.h"

#include <algorithm>
#include <cmath>

namespace ops {

std::unique_ptr<model::Multipart> envelope_polygon(const model::Envelope& e) {
    std::vector<model::Part> parts;
    if (!std::isnan(e.x.min)) {
        model::Part ring;
        ring.ring = true;
        ring.dims = e.dims;
        const double z = e.z.min, m = e.m.min;
        const double x0 = std::min(e.x.min, e.x.max), x1 = std::max(e.x.min, e.x.max);
        const double y0 = std::min(e.y.min, e.y.max), y1 = std::max(e.y.min, e.y.max);
        ring.points = {{x0, y0, z, m}, {x0, y1, z, m}, {x1, y1, z, m}, {x1, y0, z, m}};
        parts.push_back(std::move(ring));
    }
    auto polygon = std::make_unique<model::Multipart>(model::GeometryKind::Polygon, std::move(parts), e.dims);
    polygon->set_spatial_reference(e.spatial_reference());
    return polygon;
}

}  // namespace ops
