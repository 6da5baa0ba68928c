#include "ops/farthest_vertex.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace ops {
namespace {

using model::XY;

// Vertices per box: small, so that a box hugs a bend of a coarse line.
constexpr size_t kRun = 8;
// Sections up to this long are measured vertex by vertex: their boxes would cost more than they spare.
constexpr size_t kDirect = 64;
// A box's bound costs about this many distances. The boxes opened for one section may cost an
// eighth of measuring it vertex by vertex; past that, what is left is measured so: a line whose
// boxes rule little out (a coarse spiral, where every turn comes near the farthest) costs no more
// than an eighth above GEOS's own count of distances.
constexpr size_t kBoundCost = 12;
constexpr size_t kBudgetShare = 8;

constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();

// GEOS's distance from a point to the segment from `a` to `b`, written term for term in its order
// (the segment's own terms computed once: the same operands in the same order give the same
// values), so that the same roundings give the same distances, and so the same ties.
double point_distance(XY p, XY a) {
    const double dx = p.x - a.x;
    const double dy = p.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

bool same_point(XY a, XY b) { return a.x == b.x && a.y == b.y; }

struct Chord {
    Chord(XY from, XY to)
        : a(from),
          b(to),
          dx(to.x - from.x),
          dy(to.y - from.y),
          length2(dx * dx + dy * dy),
          length(std::sqrt(length2)),
          inside_low(length2 * 0x1p-100),
          inside_high(length2 * 0.5),
          point(same_point(from, to)) {}

    // Where the foot of `p` falls along the segment: 0 at `a`, 1 at `b`.
    double along(XY p) const { return along_numerator(p) / length2; }
    double along_numerator(XY p) const { return (p.x - a.x) * dx + (p.y - a.y) * dy; }

    // The distance from `p` to the line through the segment.
    double across(XY p) const { return std::fabs(((a.y - p.y) * dx - (a.x - p.x) * dy) / length2) * length; }

    double distance(XY p) const {
        if (point) return point_distance(p, a);
        // A numerator well inside (0, L^2 / 2] makes a quotient strictly between 0 and 1, however
        // it rounds: the division is left to the feet near an end.
        const double numerator = along_numerator(p);
        if (numerator > inside_low && numerator <= inside_high) return across(p);
        const double r = numerator / length2;
        if (r <= 0.0) return point_distance(p, a);
        if (r >= 1.0) return point_distance(p, b);
        return across(p);
    }

    XY a, b;
    double dx, dy, length2, length;
    double inside_low, inside_high;
    bool point;
};

// The larger of two bounds; unknown when either is.
double larger(double u, double v) { return std::isnan(u) || std::isnan(v) ? kUnknown : std::max(u, v); }

// No distance Chord::distance gives for a point of the box exceeds this; unknown (NaN) when that
// cannot be told. Each of its formulas, rounding included, is a combination of a function of x
// alone and one of y alone, each monotone on either side of a constant, through operations that
// round monotonically; so over a box each formula and `along` take their extremes at corners, and
// the corners bound every rounded value inside exactly, ties included, with no margin.
template <typename Extent>
double box_bound(const Extent& box, const Chord& chord) {
    const std::array<XY, 4> corners{{{box.x0, box.y0}, {box.x0, box.y1}, {box.x1, box.y0}, {box.x1, box.y1}}};
    const auto largest = [&](auto distance) {
        double top = -1.0;
        for (const XY& c : corners) top = larger(top, distance(c));
        return top;
    };
    if (chord.point) return largest([&](XY c) { return point_distance(c, chord.a); });
    if (!(chord.length2 > 0) || !std::isfinite(chord.length2)) return kUnknown;
    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (const XY& c : corners) {
        const double r = chord.along(c);
        if (std::isnan(r)) return kUnknown;
        low = std::min(low, r);
        high = std::max(high, r);
    }
    double top = -1.0;
    if (low <= 0.0) top = larger(top, largest([&](XY c) { return point_distance(c, chord.a); }));
    if (high >= 1.0) top = larger(top, largest([&](XY c) { return point_distance(c, chord.b); }));
    if (low < 1.0 && high > 0.0) top = larger(top, largest([&](XY c) { return chord.across(c); }));
    return top;
}

// Where the error analysis of disc_bound holds: no square overflows, and the segment is long
// enough that what underflows stays far below the slack.
constexpr double kLargest = 1e100;
constexpr double kShortest2 = 1e-200;
constexpr double kSlack = 1e-150;

// No distance Chord::distance gives for a point of the disc exceeds this; unknown (NaN) outside
// the range the analysis covers. The true distance to a segment moves no faster than the point, so
// it stays within the radius of the centre's; GEOS's roundings stay within 20 units in the last
// place of the point's distance to the farther end, so 64 of the farther reach cover both measures.
// Looser than the box at a tie, far tighter about a bend, where a box's corners stick out.
template <typename Extent>
double disc_bound(const Extent& disc, const Chord& chord) {
    constexpr double kUnit = 0x1p-53;
    const XY a = chord.a, b = chord.b;
    const double reach = std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(b.x), std::fabs(b.y),
                                   std::fabs(disc.cx), std::fabs(disc.cy)}) + disc.radius;
    if (!(reach < kLargest) || (!chord.point && !(chord.length2 >= kShortest2))) return kUnknown;
    const XY centre{disc.cx, disc.cy};
    const double far = std::max(point_distance(centre, a), point_distance(centre, b)) + disc.radius;
    return (chord.distance(centre) + disc.radius + 64 * kUnit * far + kSlack) * (1 + 16 * kUnit);
}

// The tighter of the two bounds that are known.
template <typename Extent>
double bound(const Extent& e, const Chord& chord) {
    const double disc = disc_bound(e, chord), box = box_bound(e, chord);
    if (std::isnan(disc)) return box;
    return std::isnan(box) ? disc : std::min(disc, box);
}

// A radius no smaller than the distance between the two points, whatever the rounding.
double reaching(XY centre, XY p, double beyond) { return (point_distance(centre, p) + beyond) * (1 + 0x1p-50); }

}  // namespace

FarthestVertex::FarthestVertex(std::vector<XY> points) : points_(std::move(points)) {
    if (points_.size() <= kDirect) return;
    // A box's disc is centred in it and reaches every vertex (a run's) or every disc (a join's) inside.
    const auto boxed = [](double x0, double y0, double x1, double y1) { return Extent{x0, y0, x1, y1, x0 / 2 + x1 / 2, y0 / 2 + y1 / 2, 0.0}; };
    std::vector<Extent> runs;
    runs.reserve((points_.size() + kRun - 1) / kRun);
    for (size_t start = 0; start < points_.size(); start += kRun) {
        const size_t end = std::min(start + kRun, points_.size());
        Extent e = boxed(points_[start].x, points_[start].y, points_[start].x, points_[start].y);
        for (size_t k = start + 1; k < end; ++k)
            e = boxed(std::min(e.x0, points_[k].x), std::min(e.y0, points_[k].y), std::max(e.x1, points_[k].x), std::max(e.y1, points_[k].y));
        for (size_t k = start; k < end; ++k) e.radius = std::max(e.radius, reaching({e.cx, e.cy}, points_[k], 0.0));
        runs.push_back(e);
    }
    levels_.push_back(std::move(runs));
    while (levels_.back().size() > 1) {
        const auto& below = levels_.back();
        std::vector<Extent> joined;
        joined.reserve((below.size() + 1) / 2);
        for (size_t k = 0; k < below.size(); k += 2) {
            const Extent& l = below[k];
            const Extent& r = k + 1 < below.size() ? below[k + 1] : l;
            Extent e = boxed(std::min(l.x0, r.x0), std::min(l.y0, r.y0), std::max(l.x1, r.x1), std::max(l.y1, r.y1));
            e.radius = std::max(reaching({e.cx, e.cy}, {l.cx, l.cy}, l.radius), reaching({e.cx, e.cy}, {r.cx, r.cy}, r.radius));
            joined.push_back(e);
        }
        levels_.push_back(std::move(joined));
    }
}

namespace {

template <typename Found>
void scan(const std::vector<XY>& points, size_t from, size_t to, const Chord& chord, Found& best) {
    for (size_t k = from; k < to; ++k) {
        const double d = chord.distance(points[k]);
        // Runs are scanned out of order: an equal distance wins from an earlier vertex.
        if (d > best.distance || (d == best.distance && k < best.index)) best = {k, d};
    }
}

}  // namespace

FarthestVertex::Found FarthestVertex::between(size_t i, size_t j) {
    Found best{i, -1.0};
    const Chord chord(points_[i], points_[j]);
    if (j - i <= kDirect) {
        scan(points_, i + 1, j, chord, best);
        return best;
    }
    // The most promising box first (the earlier of equal ones), so that the best found soon rules
    // out the rest: a box is passed over when it cannot beat the best, or only tie with it later on.
    const auto lower = [](const Box& u, const Box& v) { return u.top < v.top || (u.top == v.top && u.from > v.from); };
    size_t budget = (j - i) / (kBudgetShare * kBoundCost);
    const auto offer = [&](size_t level, size_t index) {
        const size_t run = kRun << level;
        const size_t from = std::max(index * run, i + 1), to = std::min((index + 1) * run, j);
        if (from >= to) return;
        const double top = bound(levels_[level][index], chord);
        open_.push_back({std::isnan(top) ? std::numeric_limits<double>::infinity() : top, from, to, level, index});
        std::push_heap(open_.begin(), open_.end(), lower);
    };
    open_.clear();
    offer(levels_.size() - 1, 0);
    while (!open_.empty()) {
        std::pop_heap(open_.begin(), open_.end(), lower);
        const Box box = open_.back();
        open_.pop_back();
        if (box.top < best.distance) break;
        if (box.top == best.distance && box.from > best.index) continue;
        if (box.level == 0) {
            scan(points_, box.from, box.to, chord, best);
            continue;
        }
        if (budget < 2) {
            scan(points_, box.from, box.to, chord, best);
            for (const Box& rest : open_) scan(points_, rest.from, rest.to, chord, best);
            break;
        }
        budget -= 2;
        offer(box.level - 1, 2 * box.index);
        if (2 * box.index + 1 < levels_[box.level - 1].size()) offer(box.level - 1, 2 * box.index + 1);
    }
    return best;
}

}  // namespace ops
