#include "ops/cutter_sides.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "ops/geos_context.h"

namespace ops {
namespace {

using model::Vertex;

// Segments per box, and boxes per box of the level above: small, so that a box hugs a bend.
constexpr size_t kRun = 8;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct Foot {
    double distance, along;
};

// The point of the segment nearest to (x, y). A distance that cannot be measured (NaN) is never
// the least.
Foot foot(const Vertex& a, const Vertex& b, double x, double y) {
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    const double f = std::clamp(((x - a.x) * dx + (y - a.y) * dy) / len2, 0.0, 1.0);
    return {std::hypot(a.x + f * dx - x, a.y + f * dy - y), f};
}

Side orientation(const Vertex& a, const Vertex& b, double x, double y) {
    const int o = GEOSOrientationIndex_r(geos(), a.x, a.y, b.x, b.y, x, y);
    return o > 0 ? Side::Left : o < 0 ? Side::Right : Side::On;
}

}  // namespace

CutterSides::CutterSides(std::vector<std::vector<Vertex>> paths) : paths_(std::move(paths)) {
    double scale = 0;
    for (size_t p = 0; p < paths_.size(); ++p) {
        const auto& path = paths_[p];
        for (size_t i = 0; i + 1 < path.size(); ++i) {
            const double dx = path[i + 1].x - path[i].x, dy = path[i + 1].y - path[i].y;
            if (dx * dx + dy * dy != 0) segments_.push_back({p, i});
        }
        for (const auto& v : path) scale = std::max({scale, std::fabs(v.x), std::fabs(v.y)});
    }
    // A distance and a box's bound are each a few roundings away from the true values, at most a
    // few units in the last place of the largest coordinate; this is thousands of them.
    slack_ = 1e-12 * scale;
    std::vector<Box> runs;
    for (size_t s = 0; s < segments_.size(); ++s) {
        const Vertex &a = paths_[segments_[s].path][segments_[s].index], &b = paths_[segments_[s].path][segments_[s].index + 1];
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

CutterSides::Nearest CutterSides::nearest(double x, double y) const {
    // No segment of a box comes nearer than the box itself, less what rounding may take off.
    const double slack = slack_ + 1e-12 * std::max(std::fabs(x), std::fabs(y));
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
    Nearest best{segments_.size(), 0};
    double least = kInfinity;
    while (!open.empty()) {
        const Open o = open.back();
        open.pop_back();
        // A box at the least distance may still hold an earlier segment as near.
        if (o.bound > least) continue;
        if (o.level > 0) {
            push(o.level - 1, o.index * kRun, (o.index + 1) * kRun);
            continue;
        }
        for (size_t s = o.index * kRun; s < std::min((o.index + 1) * kRun, segments_.size()); ++s) {
            const auto& path = paths_[segments_[s].path];
            const Foot f = foot(path[segments_[s].index], path[segments_[s].index + 1], x, y);
            if (f.distance < least || (f.distance == least && best.segment != segments_.size() && s < best.segment)) {
                least = f.distance;
                best = {s, f.along};
            }
        }
    }
    return best;
}

Side CutterSides::side_at(const Nearest& n, double x, double y) const {
    if (n.segment == segments_.size()) return Side::On;
    const auto& line = paths_[segments_[n.segment].path];
    const size_t i = segments_[n.segment].index;
    const Vertex &a = line[i], &b = line[i + 1];
    const bool joint_after = n.along == 1.0 && i + 2 < line.size();
    const bool joint_before = n.along == 0.0 && i > 0;
    if (!joint_after && !joint_before) return orientation(a, b, x, y);
    const Vertex& p = joint_after ? a : line[i - 1];
    const Vertex& v = joint_after ? b : a;
    const Vertex& next = joint_after ? line[i + 2] : b;
    const Side s1 = orientation(p, v, x, y), s2 = orientation(v, next, x, y);
    const bool left_turn = orientation(p, v, next.x, next.y) == Side::Left;
    const bool left = left_turn ? (s1 == Side::Left && s2 == Side::Left) : (s1 == Side::Left || s2 == Side::Left);
    return left ? Side::Left : (s1 == Side::On && s2 == Side::On ? Side::On : Side::Right);
}

Side CutterSides::side_of(double x, double y) const { return side_at(nearest(x, y), x, y); }

}  // namespace ops
