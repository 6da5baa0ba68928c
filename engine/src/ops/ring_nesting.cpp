#include "ops/ring_nesting.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>
#include <numeric>
#include <optional>
#include <span>

#include "ops/box_tree.h"
#include "ops/curve_measure.h"
#include "ops/exact_side.h"
#include "ops/holder_index.h"
#include "ops/geos_context.h"
#include "ops/scratch.h"
#include "ops/to_geos.h"

namespace ops {
namespace {

using model::Vertex;
using Ring = std::span<const Vertex>;

Bounds box_of(Ring ring) {
    Bounds b;
    for (const auto& v : ring) b.join({v.x, v.y, v.x, v.y});
    return b;
}

// The ring's box, and into `area` its shoelace area, in one pass over its vertices.
Bounds box_and_shoelace(Ring ring, double& area) {
    if (ring.size() < 3) {
        area = 0;
        return box_of(ring);
    }
    Bounds b;
    area = shoelace_visiting(ring, [&](const Vertex& v) { b.join({v.x, v.y, v.x, v.y}); });
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
int side_within(const Vertex& p, Ring ring, double band) {
    bool inside = false;
    for (size_t i = 0, n = ring.size(); i < n; ++i)
        if (!off_edge(p, ring[i], ring[i + 1 == n ? 0 : i + 1], band, inside)) return 0;
    return inside ? 1 : -1;
}

// The edges of a ring asked about many points (an exterior holding many holes), filed by height in
// buckets: bucket k holds every edge whose height, widened by the band, takes in part of the
// bucket's. Every edge a point can lie on or whose crossing of the point's ray counts is then in
// the point's bucket, so a question reads a few edges rather than all.
class EdgeBuckets {
public:
    EdgeBuckets(Ring ring, double band) : ring_(ring), band_(band) { file(); }

    bool filed() const { return !start_.empty(); }

    // Calls f(a, b) for the edges a -> b filed where heights y0 .. y1 are, some perhaps more than
    // once, until f answers false; answers whether none did.
    template <typename F>
    bool each_edge(double y0, double y1, F f) const {
        for (size_t k = bucket(y0), last = bucket(y1); k <= last; ++k)
            for (uint32_t e = start_[k]; e < start_[k + 1]; ++e) {
                const uint32_t i = edges_[e];
                if (!f(ring_[i], ring_[i + 1 == ring_.size() ? 0 : i + 1])) return false;
            }
        return true;
    }

private:
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

    Ring ring_;
    double band_;
    double low_ = 0, height_ = 1;
    size_t buckets_ = 0;
    std::vector<uint32_t> start_;  // the edges of bucket k are edges_[start_[k] .. start_[k + 1])
    std::vector<uint32_t> edges_;
};

enum class Holds { No, Yes, Equal };

// Vertices tried before a point strictly inside decides: rings sharing long runs of vertices (equal
// rings above all) would otherwise cost the product of their sizes.
constexpr size_t kVerticesTried = 4;

// Whether the ring runs clockwise, given its shoelace area (positive clockwise). The area is certain
// of its sign beyond its rounding error: n terms of at most twice the box's area each, every one
// within 3 units in the last place, summed within n more. Within it (a sliver, a figure of eight),
// GEOS's robust orientation at the ring's highest vertex decides.
bool clockwise(Ring ring, double signed_area, const Bounds& box) {
    const double n = static_cast<double>(ring.size());
    const double error = (n + 3) * DBL_EPSILON * n * (box.xmax - box.xmin) * (box.ymax - box.ymin);
    if (std::abs(signed_area) > error) return signed_area > 0;
    GeosPtr line = geos_line(ring, true);
    char ccw = 0;
    if (GEOSCoordSeq_isCCW_r(geos(), GEOSGeom_getCoordSeq_r(geos(), line.get()), &ccw) == 0) return signed_area > 0;
    return ccw == 0;
}

// What every reading needs of the rings, worked out once a call, in flat arrays: no GEOS object is
// made per ring. Sides are asked through here, so that a ring asked about many points has its edges
// filed once.
class Rings {
public:
    explicit Rings(std::span<const Ring> rings) : vertices_(rings) {
        const size_t n = rings.size();
        boxes_.reserve(n), areas_.reserve(n), clockwise_.reserve(n);
        double magnitude = 0;
        for (const auto& r : rings) {
            double signed_area = 0;  // positive clockwise
            boxes_.push_back(box_and_shoelace(r, signed_area));
            areas_.push_back(std::abs(signed_area));
            clockwise_.push_back(ops::clockwise(r, signed_area, boxes_.back()));
            magnitude = std::max(magnitude, boxes_.back().magnitude());
        }
        // One band for the whole polygon: units in the last place of its largest coordinate.
        band_ = on_edge_band(magnitude);
        asked_.assign(n, 0);
    }

    size_t size() const { return vertices_.size(); }
    bool clockwise(size_t i) const { return clockwise_[i] != 0; }

    // An index (HolderIndex or BoxTree) of the boxes of the rings `pick` takes.
    template <typename Index, typename P>
    Index index_of(P pick) const {
        Scratch<uint32_t> ids;
        for (uint32_t i = 0; i < size(); ++i)
            if (pick(i)) ids.push_back(i);
        return Index(boxes_, std::move(ids));
    }

    // Indexes of every ring's box, each made on first use.
    const HolderIndex& holders() {
        if (!holders_) holders_.emplace(index_of<HolderIndex>([](uint32_t) { return true; }));
        return *holders_;
    }
    const BoxTree& tree() {
        if (!tree_) tree_.emplace(index_of<BoxTree>([](uint32_t) { return true; }));
        return *tree_;
    }

    // Whether a ring of `index` other than ring i has a box holding its box.
    bool any_box_holder(const HolderIndex& index, size_t i) const {
        HolderIndex::Holders walk(index, boxes_[i]);
        for (uint32_t j = 0; walk.next(j);)
            if (j != i) return true;
        return false;
    }

    double area(size_t i) const { return areas_[i]; }
    // Every ring's area, handed on to the reading when the rings are read.
    Scratch<double> release_areas() { return std::move(areas_); }

    // Whether ring j is at least as large as ring i, as a ring holding it must be.
    bool no_smaller(size_t j, size_t i) const { return areas_[j] >= areas_[i]; }

    // Calls f(j), until it answers false, for the rings of `index` (those `indexed` takes) that
    // could hold ring i (their boxes hold its box and they are no smaller), smallest first, equal
    // ones by index. The index gives them in no order, and a ring nested deep has as many as rings
    // around it; past a few, the rings next in size are offered alongside, one for one (a nested
    // ring's parent is next in size, or nearly), so that the cost is the lesser of the two ways.
    // Answers whether the index holds any box around ring i's (of any size).
    template <typename In, typename F>
    bool each_candidate(const HolderIndex& index, size_t i, In indexed, F f) {
        const auto before = [&](uint32_t a, uint32_t b) { return areas_[a] != areas_[b] ? areas_[a] < areas_[b] : a < b; };
        HolderIndex::Holders walk(index, boxes_[i]);
        std::vector<uint32_t>& found = scratch_;
        found.clear();
        bool boxed = false;
        const auto step = [&] {
            uint32_t j = 0;
            if (!walk.next(j)) return false;
            boxed = boxed || j != i;
            if (j != i && no_smaller(j, i)) found.push_back(j);
            return true;
        };
        bool more = true;
        for (size_t k = 0; k < kFewHolders && (more = step());) ++k;
        size_t next = 0;  // the walk by size: every ring before by_size()[next] was offered
        if (more) {
            const std::vector<uint32_t>& order = by_size();
            next = static_cast<size_t>(std::partition_point(order.begin(), order.end(), [&](uint32_t s) { return areas_[s] < areas_[i]; }) -
                                       order.begin());
            for (; more; more = step()) {
                if (next == order.size()) return boxed;
                const uint32_t s = order[next++];
                if (s != i && indexed(s) && boxes_[s].holds(boxes_[i]) && !f(s)) return true;
            }
            if (next == order.size()) return boxed;
        }
        std::sort(found.begin(), found.end(), before);
        for (uint32_t j : found)
            if ((next == 0 || !before(j, by_size()[next])) && !f(j)) return true;
        return boxed;
    }

    // Whether ring j holds ring i; Equal when they hold each other, every vertex tried of each on
    // the other's boundary.
    Holds holds(size_t j, size_t i) {
        const Ring inner = vertices_[i];
        const size_t tried = std::min(inner.size(), kVerticesTried);
        for (size_t k = 0; k < tried; ++k)
            if (const int s = side(j, inner[k]); s != 0) return s > 0 ? Holds::Yes : Holds::No;
        // Rings that do not cross hold each other's interiors whole or not at all: one point strictly
        // inside the inner ring tells, exactly where it lies within rounding of the outer's edges (a
        // hole thinner than the band along its shell's edge). Where no such point can be written
        // (a sliver too thin), the exact sides of the vertices tried tell.
        const auto q = inside_point(i);
        if (!q) return exact_sides(j, inner.first(tried));
        if (decided_side(j, *q) != 1) return Holds::No;
        return first_on_boundary(j, i) ? Holds::Equal : Holds::Yes;
    }

    // Whether the boundary of ring a passes through the inside of ring b: some piece of one of its
    // edges, between the points where it meets b's edges, lies inside b. Two rings neither of which
    // holds the other share area exactly when it does (otherwise b's inside, which a's boundary
    // does not cut, would lie wholly inside a or wholly outside it).
    bool boundary_enters(size_t a, size_t b) {
        const Ring ring = vertices_[a];
        const Bounds& other = boxes_[b];
        std::vector<double> meets;
        for (size_t k = 0, n = ring.size(); k < n; ++k) {
            const Vertex& p = ring[k];
            const Vertex& q = ring[k + 1 == n ? 0 : k + 1];
            if (std::max(p.x, q.x) < other.xmin || std::min(p.x, q.x) > other.xmax ||
                std::max(p.y, q.y) < other.ymin || std::min(p.y, q.y) > other.ymax)
                continue;
            if (side(b, p) == 1) return true;
            meets.assign({0.0, 1.0});
            each_edge_near(b, std::min(p.y, q.y), std::max(p.y, q.y), [&](const Vertex& c, const Vertex& d) {
                add_meeting(p, q, c, d, meets);
                return true;
            });
            std::sort(meets.begin(), meets.end());
            for (size_t m = 0; m + 1 < meets.size(); ++m) {
                if (!(meets[m + 1] > meets[m])) continue;
                const double t = (meets[m] + meets[m + 1]) / 2;
                if (side(b, {p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t}) == 1) return true;
            }
        }
        return false;
    }

    size_t vertex_count(size_t i) const { return vertices_[i].size(); }
    const Bounds& box(size_t i) const { return boxes_[i]; }

private:
    static constexpr uint8_t kFileAfter = 8;
    static constexpr size_t kFewHolders = 16;

    // Every ring, smallest first, equal ones by index; made on first use.
    const std::vector<uint32_t>& by_size() {
        if (by_size_.empty()) {
            by_size_.resize(size());
            std::iota(by_size_.begin(), by_size_.end(), 0u);
            std::sort(by_size_.begin(), by_size_.end(),
                      [&](uint32_t a, uint32_t b) { return areas_[a] != areas_[b] ? areas_[a] < areas_[b] : a < b; });
        }
        return by_size_;
    }
    static constexpr size_t kFileFrom = 64;

    // Calls f(a, b) for every edge of ring j that may reach heights y0 .. y1 (all, until it is
    // filed), until f answers false; answers whether none did.
    template <typename F>
    bool each_edge_near(size_t j, double y0, double y1, F f) {
        const Ring ring = vertices_[j];
        if (asked_[j] < kFileAfter && ++asked_[j] == kFileAfter && ring.size() >= kFileFrom) {
            if (buckets_.empty()) buckets_.resize(size());
            buckets_[j] = std::make_unique<EdgeBuckets>(ring, band_);
        }
        if (asked_[j] == kFileAfter && !buckets_.empty() && buckets_[j] && buckets_[j]->filed())
            return buckets_[j]->each_edge(y0, y1, f);
        for (size_t i = 0, n = ring.size(); i < n; ++i)
            if (!f(ring[i], ring[i + 1 == n ? 0 : i + 1])) return false;
        return true;
    }

    // Where p lies against ring j, within the band: 1 inside, -1 outside, 0 on its boundary.
    int side(size_t j, const Vertex& p) {
        bool inside = false;
        const bool off = each_edge_near(j, p.y, p.y, [&](const Vertex& a, const Vertex& b) {
            return off_edge(p, a, b, band_, inside);
        });
        return !off ? 0 : inside ? 1 : -1;
    }

    // Where p lies against ring j, decided exactly.
    int exact_side(size_t j, const Vertex& p) {
        ExactSide exact(p);
        each_edge_near(j, p.y, p.y, [&](const Vertex& a, const Vertex& b) { return exact.edge(a, b); });
        return exact.side();
    }

    // The side within the band, or exactly where p lies within it.
    int decided_side(size_t j, const Vertex& p) {
        const int s = side(j, p);
        return s != 0 ? s : exact_side(j, p);
    }

    // Held when some of the vertices lies exactly inside ring j and none outside.
    Holds exact_sides(size_t j, Ring vertices) {
        bool inside = false;
        for (const Vertex& v : vertices) {
            const int s = exact_side(j, v);
            if (s < 0) return Holds::No;
            inside = inside || s > 0;
        }
        return inside ? Holds::Yes : Holds::No;
    }

    // Whether the first few vertices of ring j all lie on the boundary of ring i.
    bool first_on_boundary(size_t j, size_t i) {
        const Ring ring = vertices_[j];
        const size_t tried = std::min(ring.size(), kVerticesTried);
        for (size_t k = 0; k < tried; ++k)
            if (side(i, ring[k]) != 0) return false;
        return true;
    }

    // A point strictly inside ring i (GEOS's interior point, checked), if one can be found; made
    // once a ring.
    std::optional<Vertex> inside_point(size_t i) {
        if (inside_points_.empty()) inside_points_.resize(size());
        auto& found = inside_points_[i];
        if (!found) found = geos_inside_point(i);
        return *found;
    }
    std::optional<Vertex> geos_inside_point(size_t i) {
        if (!std::isfinite(band_)) return std::nullopt;
        GEOSContextHandle_t ctx = geos();
        GeosPtr polygon = geos_polygon(geos_line(vertices_[i], true), {});
        GeosPtr point(GEOSPointOnSurface_r(ctx, polygon.get()));
        Vertex q;
        if (!point || GEOSisEmpty_r(ctx, point.get()) != 0 || GEOSGeomGetX_r(ctx, point.get(), &q.x) == 0 ||
            GEOSGeomGetY_r(ctx, point.get(), &q.y) == 0 || decided_side(i, q) != 1)
            return std::nullopt;
        return q;
    }

    // The parameters t along p -> q where edge c -> d meets it (generously: a parameter too many
    // only parts the edge once more).
    static void add_meeting(const Vertex& p, const Vertex& q, const Vertex& c, const Vertex& d, std::vector<double>& meets) {
        const double rx = q.x - p.x, ry = q.y - p.y, sx = d.x - c.x, sy = d.y - c.y;
        const double wx = c.x - p.x, wy = c.y - p.y;
        const double denominator = rx * sy - ry * sx;
        const auto add = [&](double t) {
            if (t > 0 && t < 1) meets.push_back(t);
        };
        if (denominator != 0) {
            const double t = (wx * sy - wy * sx) / denominator, u = (wx * ry - wy * rx) / denominator;
            if (u >= -1e-9 && u <= 1 + 1e-9) add(t);
            return;
        }
        const double length = rx * rx + ry * ry;
        add((wx * rx + wy * ry) / length);
        add(((d.x - p.x) * rx + (d.y - p.y) * ry) / length);
    }

    std::span<const Ring> vertices_;
    Scratch<Bounds> boxes_;
    Scratch<double> areas_;  // unsigned
    Scratch<char> clockwise_;
    double band_ = 0;
    std::optional<HolderIndex> holders_;
    std::optional<BoxTree> tree_;
    Scratch<uint32_t> scratch_;
    Scratch<uint32_t> by_size_;
    Scratch<uint8_t> asked_;  // how often each ring was asked about a point, up to kFileAfter
    std::vector<std::unique_ptr<EdgeBuckets>> buckets_;  // sized at the first ring filed
    std::vector<std::optional<std::optional<Vertex>>> inside_points_;
};

bool every(uint32_t) { return true; }

// Rings wound the model's way (some ring clockwise, and every counter-clockwise ring within the box
// of a clockwise one) are read by winding: clockwise rings are exteriors; a counter-clockwise ring
// is a hole of the smallest clockwise ring holding it, or an exterior of its own where none does.
// An exterior whose smallest holder is an exterior (not one of its holes) covers part of that one's
// region. Nothing for rings wound any other way.
std::optional<RingReading> by_winding(Rings& r, Overlaps overlaps) {
    // OGC's winding fails at once where a counter-clockwise ring (its shell) reaches out of every
    // clockwise ring's box: no index of the clockwise rings is made for nothing.
    Bounds clockwise;
    for (size_t i = 0; i < r.size(); ++i)
        if (r.clockwise(i)) clockwise.join(r.box(i));
    for (size_t i = 0; i < r.size(); ++i)
        if (!r.clockwise(i) && !clockwise.holds(r.box(i))) return std::nullopt;
    RingReading out{Scratch<RingRole>(r.size()), {}, false};
    // Only a clockwise ring no smaller than some counter-clockwise one can own a hole: islands in
    // holes stay out of the index of owners. The others serve only to tell the winding, made only
    // where a ring finds no owner's box around it.
    double smallest = INFINITY;
    for (size_t i = 0; i < r.size(); ++i)
        if (!r.clockwise(i)) smallest = std::min(smallest, r.area(i));
    const auto owner = [&](uint32_t k) { return r.clockwise(k) && r.area(k) >= smallest; };
    std::optional<HolderIndex> owners, others;  // made at the first need: parcels need neither
    bool any = false;
    for (size_t i = 0; i < r.size(); ++i) {
        if (r.clockwise(i)) {
            any = true;
            continue;
        }
        if (!owners) owners.emplace(r.index_of<HolderIndex>(owner));
        const bool boxed = r.each_candidate(*owners, i, owner, [&](uint32_t j) {
            if (r.holds(j, i) == Holds::No) return true;
            out.roles[i] = {false, static_cast<int>(j)};
            return false;
        });
        if (boxed) continue;
        // None of the possible owners has a box around it: it must lie in the box of a smaller
        // clockwise ring for the rings to be wound the model's way, and is then an exterior.
        if (!others) others.emplace(r.index_of<HolderIndex>([&](uint32_t k) { return r.clockwise(k) && !owner(k); }));
        if (!r.any_box_holder(*others, i)) return std::nullopt;
    }
    if (!any) return std::nullopt;
    if (overlaps == Overlaps::None) return out;
    for (size_t i = 0; i < r.size() && !out.overlapping; ++i) {
        if (!out.roles[i].exterior) continue;
        r.each_candidate(r.holders(), i, every, [&](uint32_t j) {
            if (r.holds(j, i) == Holds::No) return true;
            out.overlapping = out.roles[j].exterior;
            return false;
        });
    }
    return out;
}

// Each ring's parent is the smallest ring holding it; a ring at an even depth of that chain is an
// exterior, one at an odd depth a hole of its parent. Equal rings hold neither, and are two
// exteriors.
RingReading by_nesting(Rings& r) {
    RingReading out{Scratch<RingRole>(r.size()), {}, false};
    Scratch<int> parent(r.size(), -1);
    for (size_t i = 0; i < r.size(); ++i) {
        r.each_candidate(r.holders(), i, every, [&](uint32_t j) {
            const Holds h = r.holds(j, i);
            out.overlapping = out.overlapping || h == Holds::Equal;
            if (h != Holds::Yes) return true;
            parent[i] = static_cast<int>(j);
            return false;
        });
    }
    // Depths down each chain of parents, each ring's once. A chain that closes on itself (rings
    // within rounding of each other, each taken to hold the other) is cut where it closes.
    Scratch<int> depth(r.size(), -1);  // -2: on the chain being walked
    Scratch<int> chain;
    for (size_t i = 0; i < r.size(); ++i) {
        for (;;) {
            chain.clear();
            int k = static_cast<int>(i);
            for (; k >= 0 && depth[k] == -1; k = parent[k]) {
                depth[k] = -2;
                chain.push_back(k);
            }
            if (k >= 0 && depth[k] == -2) {
                parent[k] = -1;
                for (int c : chain) depth[c] = -1;
                continue;
            }
            int d = k >= 0 ? depth[k] : -1;
            for (auto it = chain.rbegin(); it != chain.rend(); ++it) depth[*it] = ++d;
            break;
        }
    }
    for (size_t i = 0; i < r.size(); ++i)
        if (depth[i] % 2 == 1) out.roles[i] = {false, parent[i]};
    return out;
}

// Whether two exteriors neither of which holds the other share area: their boxes overlap, and the
// boundary of one (the one of fewer vertices) passes through the other's inside.
bool exteriors_cross(Rings& r, const std::vector<RingRole>& roles) {
    for (size_t i = 0; i < r.size(); ++i) {
        if (!roles[i].exterior) continue;
        bool found = false;
        r.tree().overlapping(r.box(i), [&](uint32_t j) {
            if (found || j <= i || !roles[j].exterior) return;
            if (r.box(j).holds(r.box(i)) && r.holds(j, i) != Holds::No) return;
            if (r.box(i).holds(r.box(j)) && r.holds(i, j) != Holds::No) return;
            found = r.vertex_count(i) <= r.vertex_count(j) ? r.boundary_enters(i, j) : r.boundary_enters(j, i);
        });
        if (found) return true;
    }
    return false;
}

}  // namespace

int point_side(const model::Vertex& p, const std::vector<model::Vertex>& ring) {
    const double magnitude = std::max({box_of(ring).magnitude(), std::abs(p.x), std::abs(p.y)});
    return side_within(p, ring, on_edge_band(magnitude));
}

RingReading ring_roles(const std::vector<std::vector<Vertex>>& rings, Overlaps overlaps) {
    return ring_roles(std::vector<std::span<const Vertex>>(rings.begin(), rings.end()), overlaps);
}

RingReading ring_roles(std::span<const std::span<const model::Vertex>> rings, Overlaps overlaps) {
    if (rings.size() <= 1) {
        RingReading one{Scratch<RingRole>(rings.size()), {}, false};
        for (Ring ring : rings) one.areas.push_back(std::abs(shoelace(ring)));
        return one;
    }
    Rings r(rings);
    auto read = by_winding(r, overlaps);
    RingReading out = read ? std::move(*read) : by_nesting(r);
    if (overlaps == Overlaps::Crossing && !out.overlapping) out.overlapping = exteriors_cross(r, out.roles);
    out.areas = r.release_areas();
    return out;
}

}  // namespace ops
