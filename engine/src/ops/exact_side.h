// Sides decided exactly, for points closer to an edge than rounding lets a floating-point
// determinant tell (a hole thinner than that along its shell's edge).
#pragma once

#include <algorithm>

#include "model/vertex.h"

namespace ops {

// 1 when p lies left of the line a -> b, -1 right of it, 0 on it: the determinant where its
// rounding error cannot change its sign, GEOS's robust orientation where it could.
int orientation(const model::Vertex& a, const model::Vertex& b, const model::Vertex& p);

// Where a point lies against a ring, decided exactly by the crossing rule (a ray towards +x, each
// edge counted half-open in y) over the ring's edges, given one by one; edges neither reaching the
// point's height nor holding it may be left out.
class ExactSide {
public:
    explicit ExactSide(const model::Vertex& p) : p_(p) {}

    // One edge a -> b; false once the point lies on it.
    bool edge(const model::Vertex& a, const model::Vertex& b) {
        const bool crosses = (a.y > p_.y) != (b.y > p_.y);
        const auto [x0, x1] = std::minmax(a.x, b.x);
        if (p_.x < x0 || p_.x > x1) {
            if (crosses && p_.x < x0) inside_ = !inside_;
            return true;
        }
        const auto [y0, y1] = std::minmax(a.y, b.y);
        if (!crosses && (p_.y < y0 || p_.y > y1)) return true;
        const int o = orientation(a, b, p_);
        if (o == 0) return on_ = false;
        // Left of an upward edge, or right of a downward one: the edge crosses the ray.
        if (crosses && (b.y > a.y) == (o > 0)) inside_ = !inside_;
        return true;
    }

    // 1 inside, -1 outside, 0 on an edge.
    int side() const { return !on_ ? 0 : inside_ ? 1 : -1; }

private:
    model::Vertex p_;
    bool inside_ = false;
    bool on_ = true;  // false once on an edge
};

}  // namespace ops
