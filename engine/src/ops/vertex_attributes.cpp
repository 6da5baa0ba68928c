#include "ops/vertex_attributes.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "model/multipart.h"
#include "model/multipoint.h"
#include "model/point.h"
#include "ops/curve_densify.h"

namespace ops {

size_t VertexAttributes::KeyHash::operator()(const Key& k) const {
    const uint64_t a = std::bit_cast<uint64_t>(k.x), b = std::bit_cast<uint64_t>(k.y);
    return static_cast<size_t>(a * 0x9E3779B97F4A7C15ULL ^ (b + 0x7F4A7C159E3779B9ULL + (a << 6) + (a >> 2)));
}

void VertexAttributes::add_vertex(const model::Vertex& v) {
    if (std::isnan(v.x) || std::isnan(v.y)) return;
    // + 0.0 folds -0 into 0, which compare equal but hash apart.
    by_position_.try_emplace(Key{v.x + 0.0, v.y + 0.0}, v);
    scale_ = std::max({scale_, std::abs(v.x), std::abs(v.y)});
}

void VertexAttributes::add(const model::Geometry& g) {
    switch (g.kind()) {
        case model::GeometryKind::Point:
            add_vertex(static_cast<const model::Point&>(g).vertex);
            break;
        case model::GeometryKind::Multipoint:
            for (const auto& v : static_cast<const model::Multipoint&>(g).points) add_vertex(v);
            break;
        case model::GeometryKind::Polyline:
        case model::GeometryKind::Polygon:
            for (const auto& part : static_cast<const model::Multipart&>(g).parts) {
                auto vertices = straight_vertices(part);
                for (const auto& v : vertices) add_vertex(v);
                if (new_vertices_ != NewVertices::Interpolated || vertices.size() < 2) continue;
                if (part.ring) vertices.push_back(vertices.front());
                lines_.push_back(std::move(vertices));
            }
            break;
        case model::GeometryKind::Envelope:
            break;
    }
}

bool VertexAttributes::interpolate(model::Vertex& v) const {
    const double tolerance = 1e-9 * std::max(scale_, 1.0);
    double best = std::numeric_limits<double>::infinity();
    model::Vertex found;
    for (const auto& line : lines_) {
        for (size_t i = 0; i + 1 < line.size(); ++i) {
            const auto& a = line[i];
            const auto& b = line[i + 1];
            const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
            if (len2 == 0) continue;
            const double f = std::clamp(((v.x - a.x) * dx + (v.y - a.y) * dy) / len2, 0.0, 1.0);
            const double d = std::hypot(a.x + f * dx - v.x, a.y + f * dy - v.y);
            if (d <= tolerance && d < best) {
                best = d;
                found = model::Vertex{v.x, v.y, a.z + (b.z - a.z) * f, a.m + (b.m - a.m) * f};
            }
        }
    }
    if (best == std::numeric_limits<double>::infinity()) return false;
    if (std::isnan(v.z)) v.z = found.z;
    v.m = found.m;
    return true;
}

void VertexAttributes::restore(model::Vertex& v) const {
    const auto it = by_position_.find(Key{v.x + 0.0, v.y + 0.0});
    if (it != by_position_.end()) {
        if (std::isnan(v.z)) v.z = it->second.z;
        v.m = it->second.m;
        return;
    }
    if (new_vertices_ == NewVertices::Interpolated && interpolate(v)) return;
    v.m = model::kNaN;
}

}  // namespace ops
