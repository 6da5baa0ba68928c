#include "ops/path_sides.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "ops/geos_context.h"
#include "ops/segment_foot.h"

namespace ops {
namespace {

using model::Vertex;

// Segments per box, and boxes per box of the level above: small, so that a box hugs a bend.
constexpr size_t kRun = 8;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

Side orientation(const Vertex& a, const Vertex& b, double x, double y) {
    const int o = GEOSOrientationIndex_r(geos(), a.x, a.y, b.x, b.y, x, y);
    return o > 0 ? Side::Left : o < 0 ? Side::Right : Side::On;
}

}  // namespace

PathSides::PathSides(std::vector<std::vector<Vertex>> paths, Ends ends) : paths_(std::move(paths)), ends_(ends) {
    for (size_t p = 0; p < paths_.size(); ++p) {
        const auto& path = paths_[p];
        for (size_t i = 0; i + 1 < path.size(); ++i) {
            const double dx = path[i + 1].x - path[i].x, dy = path[i + 1].y - path[i].y;
            if (dx * dx + dy * dy != 0) segments_.push_back({p, i});
        }
        for (const auto& v : path) scale_ = std::max({scale_, std::fabs(v.x), std::fabs(v.y)});
    }
    std::vector<Box> runs;
    for (size_t s = 0; s < segments_.size(); ++s) {
        const Vertex &a = start(s), &b = end(s);
        const Box box{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
        if (s % kRun == 0) {
            runs.push_back(box);
            continue;
        }
        Box& run = runs.back();
        run = {std::min(run.x0, box.x0), std::min(run.y0, box.y0), std::max(run.x1, box.x1), std::max(run.y1, box.y1)};
    }
    levels_.push_back(std::move(runs));
    while (levels_.back().size() > kRun) {
        const auto& below = levels_.back();
        std::vector<Box> joined;
        for (size_t i = 0; i < below.size(); ++i) {
            if (i % kRun == 0) {
                joined.push_back(below[i]);
                continue;
            }
            Box& box = joined.back();
            box = {std::min(box.x0, below[i].x0), std::min(box.y0, below[i].y0), std::max(box.x1, below[i].x1),
                   std::max(box.y1, below[i].y1)};
        }
        levels_.push_back(std::move(joined));
    }
}

const Vertex& PathSides::start(size_t s) const { return paths_[segments_[s].path][segments_[s].index]; }
const Vertex& PathSides::end(size_t s) const { return paths_[segments_[s].path][segments_[s].index + 1]; }

double PathSides::slack(double x, double y) const {
    // A distance and a box's bound are each a few roundings away from the true values, at most a
    // few units in the last place of the largest coordinate; this is thousands of them.
    return 1e-12 * std::max({scale_, std::fabs(x), std::fabs(y)});
}

template <typename Visit, typename Reach>
void PathSides::search(double x, double y, Visit visit, Reach reach) const {
    // No segment of a box comes nearer than the box itself, less what rounding may take off.
    const double slack = this->slack(x, y);
    const auto bound = [&](const Box& b) {
        return std::hypot(std::max({b.x0 - x, x - b.x1, 0.0}), std::max({b.y0 - y, y - b.y1, 0.0})) - slack;
    };
    struct Open {
        double bound;
        size_t level, index;
    };
    std::vector<Open> open;
    // Opens boxes [from, to) of a level, the nearest last so that it is taken first.
    const auto push = [&](size_t level, size_t from, size_t to) {
        const size_t first = open.size();
        for (size_t i = from; i < std::min(to, levels_[level].size()); ++i) open.push_back({bound(levels_[level][i]), level, i});
        std::sort(open.begin() + static_cast<std::ptrdiff_t>(first), open.end(),
                  [](const Open& a, const Open& b) { return a.bound > b.bound; });
    };
    push(levels_.size() - 1, 0, kRun);
    while (!open.empty()) {
        const Open o = open.back();
        open.pop_back();
        if (o.bound > reach()) continue;
        if (o.level > 0) {
            push(o.level - 1, o.index * kRun, (o.index + 1) * kRun);
            continue;
        }
        for (size_t s = o.index * kRun; s < std::min((o.index + 1) * kRun, segments_.size()); ++s) {
            const SegmentFoot f = segment_foot(start(s), end(s), x, y);
            visit(s, f.distance, f.along);
        }
    }
}

PathSides::Nearest PathSides::nearest(double x, double y) const {
    Nearest best{segments_.size(), 0, kInfinity};
    // A box at the least distance may still hold an earlier segment as near.
    search(x, y, [&](size_t s, double distance, double along) {
        if (distance < best.distance || (distance == best.distance && best.segment != segments_.size() && s < best.segment))
            best = {s, along, distance};
    }, [&] { return best.distance; });
    return best;
}

std::optional<PathSides::Joint> PathSides::joint_at(const Nearest& n) const {
    const auto& line = paths_[segments_[n.segment].path];
    const size_t i = segments_[n.segment].index;
    const bool closed = ends_ == Ends::Closed;
    const bool after = n.along == 1.0 && (i + 2 < line.size() || closed);
    const bool before = n.along == 0.0 && (i > 0 || closed);
    if (!after && !before) return std::nullopt;
    // A ring's last vertex is its first: the turn there runs on to its second, or back from its last but one.
    if (after) return Joint{&line[i], &line[i + 1], &line[i + 2 < line.size() ? i + 2 : 1]};
    return Joint{&line[i > 0 ? i - 1 : line.size() - 2], &line[i], &line[i + 1]};
}

Side PathSides::side_at(const Nearest& n, double x, double y) const {
    if (n.segment == segments_.size()) return Side::On;
    const auto joint = joint_at(n);
    if (!joint) return orientation(start(n.segment), end(n.segment), x, y);
    const Vertex &p = *joint->previous, &v = *joint->vertex, &next = *joint->next;
    const Side s1 = orientation(p, v, x, y), s2 = orientation(v, next, x, y);
    const bool left_turn = orientation(p, v, next.x, next.y) == Side::Left;
    const bool left = left_turn ? (s1 == Side::Left && s2 == Side::Left) : (s1 == Side::Left || s2 == Side::Left);
    return left ? Side::Left : (s1 == Side::On && s2 == Side::On ? Side::On : Side::Right);
}

Side PathSides::side_of(double x, double y) const { return side_at(nearest(x, y), x, y); }

std::optional<Side> PathSides::certain_side_of(double x, double y) const {
    const Nearest n = nearest(x, y);
    if (n.segment == segments_.size() || !(n.distance > 0) || !std::isfinite(n.distance)) return std::nullopt;
    const double reach = n.distance + 2 * slack(x, y);
    const bool at_vertex = n.along == 0.0 || n.along == 1.0;
    const Vertex& v = n.along == 0.0 ? start(n.segment) : end(n.segment);
    size_t meeting = 0;  // other segments within reach, all ending at the vertex
    bool settled = true;
    search(x, y, [&](size_t s, double distance, double) {
        if (s == n.segment || !(distance <= reach)) return;
        settled = settled && at_vertex && (model::same_xy(start(s), v) || model::same_xy(end(s), v)) && ++meeting < 2;
    }, [&] { return settled ? reach : -kInfinity; });
    if (!settled) return std::nullopt;
    // A path that turns back on itself (or repeats a vertex) has no wedge there to be in.
    if (const auto joint = joint_at(n)) {
        const Vertex &p = *joint->previous, &w = *joint->vertex, &next = *joint->next;
        if (model::same_xy(p, w) || model::same_xy(w, next)) return std::nullopt;
        if (orientation(p, w, next.x, next.y) == Side::On && (w.x - p.x) * (next.x - w.x) + (w.y - p.y) * (next.y - w.y) <= 0)
            return std::nullopt;
    }
    const Side side = side_at(n, x, y);
    if (side == Side::On) return std::nullopt;
    return side;
}

}  // namespace ops
