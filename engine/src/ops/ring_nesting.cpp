#include "ops/ring_nesting.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numeric>
#include <optional>

#include "ops/curve_measure.h"
#include "ops/geos_context.h"
#include "ops/to_geos.h"

namespace ops {
namespace {

using model::Vertex;

struct Box {
    double xmin = INFINITY, ymin = INFINITY, xmax = -INFINITY, ymax = -INFINITY;
    bool holds(const Box& o) const { return xmin <= o.xmin && ymin <= o.ymin && xmax >= o.xmax && ymax >= o.ymax; }
    double magnitude() const { return std::max({std::abs(xmin), std::abs(xmax), std::abs(ymin), std::abs(ymax)}); }
};

Box box_of(const std::vector<Vertex>& ring) {
    Box b;
    for (const auto& v : ring) {
        b.xmin = std::min(b.xmin, v.x), b.xmax = std::max(b.xmax, v.x);
        b.ymin = std::min(b.ymin, v.y), b.ymax = std::max(b.ymax, v.y);
    }
    return b;
}

// How far from an edge a point counts as on it, for coordinates up to `magnitude`: a few units in
// the last place, so that a vertex its writer meant to lie on the edge (an intersection rounded to
// double, a point interpolated along the edge) is never taken for one just inside or outside. It
// is also wider than the rounding error of the orientation below (at most 13.2 eps times the
// magnitude times the edge's length), so every side outside the band is certain.
double on_edge_band(double magnitude) { return 32 * (DBL_EPSILON / 2) * magnitude; }

// One edge a -> b of the crossing rule (a ray from p towards +x, each edge counted half-open in y):
// false when p lies within `band` of the edge, otherwise `inside` flipped where the edge crosses
// the ray.
inline bool off_edge(const Vertex& p, const Vertex& a, const Vertex& b, double band, bool& inside) {
    const bool crosses = (a.y > p.y) != (b.y > p.y);
    const auto [x0, x1] = std::minmax(a.x, b.x);
    if (p.x < x0 - band) {
        inside = inside != crosses;  // the whole edge lies to the right of p
        return true;
    }
    if (p.x > x1 + band) return true;
    const auto [y0, y1] = std::minmax(a.y, b.y);
    if (!crosses && (p.y < y0 - band || p.y > y1 + band)) return true;
    // Near the edge's box: its distance from the edge's line (|det| over the length, here over
    // |dx| + |dy|, which is no less) tells on from off, and off the band the sign of det is certain.
    const double det = (a.x - p.x) * (b.y - p.y) - (a.y - p.y) * (b.x - p.x);
    if (!(std::abs(det) > band * (std::abs(b.x - a.x) + std::abs(b.y - a.y)))) return false;
    // Left of an upward edge, or right of a downward one: the edge crosses the ray.
    if (crosses && (b.y > a.y) == (det > 0)) inside = !inside;
    return true;
}

// Where p lies against the ring: 1 inside, -1 outside, 0 within `band` of an edge (or not
// decidable at all: infinities).
int side_within(const Vertex& p, const std::vector<Vertex>& ring, double band) {
    bool inside = false;
    for (size_t i = 0, n = ring.size(); i < n; ++i)
        if (!off_edge(p, ring[i], ring[i + 1 == n ? 0 : i + 1], band, inside)) return 0;
    return inside ? 1 : -1;
}

// A ring asked for the side of many points (an exterior holding many holes): past a few questions
// its edges are filed by height in buckets, and a point is tested against its bucket's edges alone,
// which hold every edge whose height (widened by the band) takes in the point's y. Every edge
// crossing the point's ray is among them, so the answer is side_within's.
class RingSides {
public:
    RingSides(const std::vector<Vertex>& ring, double band) : ring_(ring), band_(band) {}

    int side(const Vertex& p) {
        if (++asked_ == kFileAfter && ring_.size() >= kFileFrom) file();
        if (start_.empty()) return side_within(p, ring_, band_);
        bool inside = false;
        for (uint32_t k = start_[bucket(p.y)], end = start_[bucket(p.y) + 1]; k < end; ++k) {
            const uint32_t i = edges_[k];
            if (!off_edge(p, ring_[i], ring_[i + 1 == ring_.size() ? 0 : i + 1], band_, inside)) return 0;
        }
        return inside ? 1 : -1;
    }

    const std::vector<Vertex>& ring() const { return ring_; }
    double band() const { return band_; }

private:
    static constexpr int kFileAfter = 8;
    static constexpr size_t kFileFrom = 64;

    size_t bucket(double y) const {
        const double k = std::floor((y - low_) / height_);
        return !(k >= 0) ? 0 : k >= static_cast<double>(buckets_) ? buckets_ - 1 : static_cast<size_t>(k);
    }

    // Buckets of about four edges each; fewer where tall edges would be filed in too many of them
    // (a comb's teeth), none when even that does not pay.
    void file() {
        const auto [low, high] = std::ranges::minmax(ring_, {}, &Vertex::y);
        low_ = low.y;
        const double span = high.y - low.y;
        if (!std::isfinite(span) || !std::isfinite(band_) || !(span > 0)) return;
        const size_t n = ring_.size();
        for (buckets_ = n / 4; buckets_ >= 4; buckets_ /= 4) {
            height_ = span / static_cast<double>(buckets_);
            size_t filed = 0;
            for (size_t i = 0; i < n; ++i) filed += last_bucket(i) - first_bucket(i) + 1;
            if (filed <= 8 * n) break;
        }
        if (buckets_ < 4) return;
        start_.assign(buckets_ + 1, 0);
        for (size_t i = 0; i < n; ++i)
            for (size_t k = first_bucket(i), last = last_bucket(i); k <= last; ++k) ++start_[k + 1];
        for (size_t k = 0; k < buckets_; ++k) start_[k + 1] += start_[k];
        edges_.resize(start_.back());
        std::vector<uint32_t> next(start_.begin(), start_.end() - 1);
        for (size_t i = 0; i < n; ++i)
            for (size_t k = first_bucket(i), last = last_bucket(i); k <= last; ++k) edges_[next[k]++] = static_cast<uint32_t>(i);
    }
    size_t first_bucket(size_t i) const {
        return bucket(std::min(ring_[i].y, ring_[i + 1 == ring_.size() ? 0 : i + 1].y) - band_);
    }
    size_t last_bucket(size_t i) const {
        return bucket(std::max(ring_[i].y, ring_[i + 1 == ring_.size() ? 0 : i + 1].y) + band_);
    }

    const std::vector<Vertex>& ring_;
    double band_;
    int asked_ = 0;
    double low_ = 0, height_ = 1;
    size_t buckets_ = 0;
    std::vector<uint32_t> start_;  // the edges of bucket k are edges_[start_[k] .. start_[k + 1])
    std::vector<uint32_t> edges_;
};

// A point strictly inside the ring (GEOS's interior point, checked), if one can be found.
std::optional<Vertex> inside_point(RingSides& ring) {
    if (!std::isfinite(ring.band())) return std::nullopt;
    GEOSContextHandle_t ctx = geos();
    GeosPtr polygon = geos_polygon(geos_line(ring.ring(), true), {});
    GeosPtr point(GEOSPointOnSurface_r(ctx, polygon.get()));
    Vertex q;
    if (!point || GEOSisEmpty_r(ctx, point.get()) != 0 || GEOSGeomGetX_r(ctx, point.get(), &q.x) == 0 ||
        GEOSGeomGetY_r(ctx, point.get(), &q.y) == 0 || ring.side(q) != 1)
        return std::nullopt;
    return q;
}

enum class Holds { No, Yes, Equal };

// Vertices tried before a point strictly inside decides: rings sharing long runs of vertices (equal
// rings above all) would otherwise cost the product of their sizes.
constexpr size_t kVerticesTried = 4;

// Whether the first few vertices of `ring` all lie on the boundary of `other`.
bool first_on_boundary(const std::vector<Vertex>& ring, RingSides& other) {
    const size_t tried = std::min(ring.size(), kVerticesTried);
    for (size_t k = 0; k < tried; ++k)
        if (other.side(ring[k]) != 0) return false;
    return true;
}

// Whether `outer` holds `inner`; Equal when they hold each other, every vertex tried of each on the
// other's boundary.
Holds holds(RingSides& outer, RingSides& inner) {
    const auto& vertices = inner.ring();
    const size_t tried = std::min(vertices.size(), kVerticesTried);
    for (size_t k = 0; k < tried; ++k)
        if (const int s = outer.side(vertices[k]); s != 0) return s > 0 ? Holds::Yes : Holds::No;
    // Rings that do not cross hold each other's interiors whole or not at all: one point strictly
    // inside the inner ring tells.
    const auto q = inside_point(inner);
    if (!q || outer.side(*q) != 1) return Holds::No;
    return first_on_boundary(outer.ring(), inner) ? Holds::Equal : Holds::Yes;
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

// Whether the ring runs clockwise, given its shoelace area (positive clockwise). The area is certain
// of its sign beyond its rounding error: n terms of at most twice the box's area each, every one
// within 3 units in the last place, summed within n more. Within it (a sliver, a figure of eight),
// GEOS's robust orientation at the ring's highest vertex decides.
bool clockwise(const std::vector<Vertex>& ring, double signed_area, const Box& box) {
    const double n = static_cast<double>(ring.size());
    const double error = (n + 3) * DBL_EPSILON * n * (box.xmax - box.xmin) * (box.ymax - box.ymin);
    if (std::abs(signed_area) > error) return signed_area > 0;
    GeosPtr line = geos_line(ring, true);
    char ccw = 0;
    if (GEOSCoordSeq_isCCW_r(geos(), GEOSGeom_getCoordSeq_r(geos(), line.get()), &ccw) == 0) return signed_area > 0;
    return ccw == 0;
}

// What every reading needs of the rings, worked out once.
struct Rings {
    const std::vector<std::vector<Vertex>>& vertices;
    std::vector<Box> boxes;
    std::vector<double> areas;      // unsigned
    std::vector<bool> clockwise;
    std::vector<std::vector<int>> neighbours;
    mutable std::vector<RingSides> sides;

    explicit Rings(const std::vector<std::vector<Vertex>>& rings) : vertices(rings) {
        double magnitude = 0;
        for (const auto& r : rings) {
            const double signed_area = shoelace(r);  // positive clockwise
            boxes.push_back(box_of(r));
            areas.push_back(std::abs(signed_area));
            clockwise.push_back(ops::clockwise(r, signed_area, boxes.back()));
            magnitude = std::max(magnitude, boxes.back().magnitude());
        }
        neighbours = box_neighbours(boxes);
        // One band for the whole polygon: units in the last place of its largest coordinate.
        for (const auto& r : rings) sides.emplace_back(r, on_edge_band(magnitude));
    }

    size_t size() const { return vertices.size(); }

    // Whether ring j could hold ring i: its box holds i's box.
    bool may_hold(int j, size_t i) const { return boxes[j].holds(boxes[i]); }

    Holds holds(int j, size_t i) const { return ops::holds(sides[j], sides[i]); }

    // The model's winding: some ring clockwise, and every counter-clockwise ring within the box of
    // a clockwise one.
    bool model_winding() const {
        if (std::none_of(clockwise.begin(), clockwise.end(), [](bool c) { return c; })) return false;
        for (size_t i = 0; i < size(); ++i) {
            if (clockwise[i]) continue;
            const auto& n = neighbours[i];
            if (std::none_of(n.begin(), n.end(), [&](int j) { return clockwise[j] && may_hold(j, i); })) return false;
        }
        return true;
    }
};

// Clockwise rings are exteriors; a counter-clockwise ring is a hole of the smallest clockwise ring
// holding it, or an exterior of its own where none does.
RingReading by_winding(const Rings& r) {
    RingReading out{std::vector<RingRole>(r.size()), false};
    std::vector<std::vector<int>> holes(r.size());
    for (size_t i = 0; i < r.size(); ++i) {
        if (r.clockwise[i]) continue;
        int best = -1;
        for (int j : r.neighbours[i])
            if (r.clockwise[j] && r.may_hold(j, i) && (best < 0 || r.areas[j] < r.areas[best]) &&
                r.holds(j, i) != Holds::No)
                best = j;
        if (best < 0) continue;
        out.roles[i] = {false, best};
        holes[best].push_back(static_cast<int>(i));
    }
    // An exterior held by another one, and in none of its holes, covers part of its region.
    for (size_t i = 0; i < r.size() && !out.overlapping; ++i) {
        if (!out.roles[i].exterior) continue;
        for (int j : r.neighbours[i]) {
            if (!out.roles[j].exterior || !(r.areas[j] >= r.areas[i]) || !r.may_hold(j, i) || r.holds(j, i) == Holds::No)
                continue;
            const bool in_hole = std::any_of(holes[j].begin(), holes[j].end(), [&](int h) {
                return r.may_hold(h, i) && r.holds(h, i) == Holds::Yes;
            });
            if (!in_hole) {
                out.overlapping = true;
                break;
            }
        }
    }
    return out;
}

// A ring inside an even number of the others is an exterior, inside an odd number a hole of the
// smallest exterior holding it; one held by no exterior (rings that overlap instead of nesting) is
// an exterior of its own. Equal rings hold neither, and are two exteriors.
RingReading by_nesting(const Rings& r) {
    RingReading out{std::vector<RingRole>(r.size()), false};
    std::vector<int> depth(r.size(), 0);
    std::vector<std::vector<int>> holders(r.size());
    for (size_t i = 0; i < r.size(); ++i) {
        for (int j : r.neighbours[i]) {
            // A ring can only be held by one at least as large.
            if (!(r.areas[j] >= r.areas[i]) || !r.may_hold(j, i)) continue;
            const Holds h = r.holds(j, i);
            if (h == Holds::Equal) out.overlapping = true;
            if (h != Holds::Yes) continue;
            ++depth[i];
            holders[i].push_back(j);
        }
    }
    for (size_t i = 0; i < r.size(); ++i) out.roles[i].exterior = depth[i] % 2 == 0;
    for (size_t i = 0; i < r.size(); ++i) {
        if (out.roles[i].exterior) continue;
        int best = -1;
        for (int j : holders[i])
            if (out.roles[j].exterior && (best < 0 || r.areas[j] < r.areas[best])) best = j;
        if (best < 0) out.roles[i].exterior = true;
        else out.roles[i].owner = best;
    }
    return out;
}

}  // namespace

int point_side(const model::Vertex& p, const std::vector<model::Vertex>& ring) {
    const double magnitude = std::max({box_of(ring).magnitude(), std::abs(p.x), std::abs(p.y)});
    return side_within(p, ring, on_edge_band(magnitude));
}

RingReading ring_roles(const std::vector<std::vector<Vertex>>& rings) {
    if (rings.size() <= 1) return {std::vector<RingRole>(rings.size()), false};
    const Rings r(rings);
    return r.model_winding() ? by_winding(r) : by_nesting(r);
}

}  // namespace ops
