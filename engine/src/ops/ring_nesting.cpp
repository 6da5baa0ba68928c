#include "ops/ring_nesting.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "ops/curve_measure.h"
#include "ops/geos_context.h"

namespace ops {
namespace {

using model::Vertex;

struct Box {
    double xmin = INFINITY, ymin = INFINITY, xmax = -INFINITY, ymax = -INFINITY;
    bool holds(const Box& o) const { return xmin <= o.xmin && ymin <= o.ymin && xmax >= o.xmax && ymax >= o.ymax; }
};

Box box_of(const std::vector<Vertex>& ring) {
    Box b;
    for (const auto& v : ring) {
        b.xmin = std::min(b.xmin, v.x), b.xmax = std::max(b.xmax, v.x);
        b.ymin = std::min(b.ymin, v.y), b.ymax = std::max(b.ymax, v.y);
    }
    return b;
}

// Whether `outer` holds `inner`: the side of inner's first vertex off outer's boundary, then of
// its edges' midpoints (rings that share every vertex); on the boundary throughout, it does not.
bool holds(const std::vector<Vertex>& outer, const std::vector<Vertex>& inner) {
    for (const auto& v : inner)
        if (const int s = point_side(v, outer); s != 0) return s > 0;
    for (size_t i = 0, n = inner.size(); i < n; ++i) {
        const Vertex& a = inner[i];
        const Vertex& b = inner[(i + 1) % n];
        if (const int s = point_side(Vertex{(a.x + b.x) / 2, (a.y + b.y) / 2}, outer); s != 0) return s > 0;
    }
    return false;
}

// The candidates whose boxes intersect each ring's box. A handful of rings are simply paired; more
// go through GEOS's tree of boxes.
std::vector<std::vector<int>> box_neighbours(const std::vector<Box>& boxes) {
    const int n = static_cast<int>(boxes.size());
    std::vector<std::vector<int>> out(boxes.size());
    if (n <= 16) {
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                if (i != j) out[i].push_back(j);
        return out;
    }
    std::unique_ptr<GEOSSTRtree, void (*)(GEOSSTRtree*)> tree(GEOSSTRtree_create_r(geos(), 10),
                                                              [](GEOSSTRtree* t) { GEOSSTRtree_destroy_r(geos(), t); });
    if (!tree) geos_failed("box tree");
    std::vector<GeosPtr> rectangles;
    std::vector<int> ids(boxes.size());
    std::iota(ids.begin(), ids.end(), 0);
    for (int i = 0; i < n; ++i) {
        const Box& b = boxes[i];
        rectangles.push_back(geos_check(GEOSGeom_createRectangle_r(geos(), b.xmin, b.ymin, b.xmax, b.ymax), "box"));
        GEOSSTRtree_insert_r(geos(), tree.get(), rectangles.back().get(), &ids[i]);
    }
    struct Query {
        std::vector<int>* out;
        int self;
    };
    for (int i = 0; i < n; ++i) {
        Query q{&out[i], i};
        GEOSSTRtree_query_r(geos(), tree.get(), rectangles[i].get(),
                            [](void* item, void* data) {
                                auto* query = static_cast<Query*>(data);
                                const int j = *static_cast<int*>(item);
                                if (j != query->self) query->out->push_back(j);
                            },
                            &q);
    }
    return out;
}

}  // namespace

// Where p lies against the ring: 1 inside, -1 outside, 0 on its boundary (crossing number, with
// the boundary told apart exactly so that rings sharing vertices or edges still nest).
int point_side(const model::Vertex& p, const std::vector<model::Vertex>& ring) {
    bool inside = false;
    for (size_t i = 0, n = ring.size(); i < n; ++i) {
        const Vertex& a = ring[i];
        const Vertex& b = ring[(i + 1) % n];
        const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
        if (cross == 0.0 && std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
            p.y <= std::max(a.y, b.y))
            return 0;
        if ((a.y > p.y) != (b.y > p.y)) {
            const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (p.x < x) inside = !inside;
        }
    }
    return inside ? 1 : -1;
}

std::vector<RingRole> ring_roles(const std::vector<std::vector<Vertex>>& rings) {
    const size_t n = rings.size();
    std::vector<RingRole> roles(n);
    if (n <= 1) return roles;
    std::vector<Box> boxes;
    std::vector<double> areas;
    for (const auto& r : rings) boxes.push_back(box_of(r)), areas.push_back(std::abs(shoelace(r)));
    const auto neighbours = box_neighbours(boxes);
    // The rings holding each ring, and the smallest of them; a ring can only be held by a larger one.
    std::vector<int> depth(n, 0), parent(n, -1);
    std::vector<std::vector<int>> holders(n);
    for (size_t i = 0; i < n; ++i) {
        for (int j : neighbours[i]) {
            if (!(areas[j] >= areas[i]) || !boxes[j].holds(boxes[i]) || !holds(rings[j], rings[i])) continue;
            ++depth[i];
            holders[i].push_back(j);
        }
    }
    for (size_t i = 0; i < n; ++i) roles[i].exterior = depth[i] % 2 == 0;
    // A hole belongs to the smallest exterior holding it; one held by no exterior (rings that
    // overlap instead of nesting) is an exterior of its own.
    for (size_t i = 0; i < n; ++i) {
        if (roles[i].exterior) continue;
        int best = -1;
        for (int j : holders[i])
            if (roles[j].exterior && (best < 0 || areas[j] < areas[best])) best = j;
        if (best < 0) roles[i].exterior = true;
        else roles[i].owner = best;
    }
    return roles;
}

}  // namespace ops
