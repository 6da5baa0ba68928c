// The side of a cutter a point lies on, found through boxes over the cutter's segments, against
// the plain scan of every segment: the same side for points anywhere, on the cutter, at its
// vertices and midway between two of its parts, where distances tie.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "ops/path_sides.h"
#include "ops/geos_context.h"

namespace {

using model::Vertex;
using ops::Side;
using Paths = std::vector<std::vector<Vertex>>;

Side orientation(const Vertex& a, const Vertex& b, double x, double y) {
    const int o = GEOSOrientationIndex_r(ops::geos(), a.x, a.y, b.x, b.y, x, y);
    return o > 0 ? Side::Left : o < 0 ? Side::Right : Side::On;
}

// Every segment measured, the first at the least distance taken, its turn read at a joint.
Side scanned(const Paths& paths, double x, double y) {
    double best = std::numeric_limits<double>::infinity();
    Side side = Side::On;
    for (const auto& line : paths) {
        for (size_t i = 0; i + 1 < line.size(); ++i) {
            const Vertex &a = line[i], &b = line[i + 1];
            const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
            if (len2 == 0) continue;
            const double f = std::clamp(((x - a.x) * dx + (y - a.y) * dy) / len2, 0.0, 1.0);
            const double d = std::hypot(a.x + f * dx - x, a.y + f * dy - y);
            if (d >= best) continue;
            best = d;
            side = orientation(a, b, x, y);
            const bool after = f == 1.0 && i + 2 < line.size(), before = f == 0.0 && i > 0;
            if (!after && !before) continue;
            const Vertex &p = after ? a : line[i - 1], &v = after ? b : a, &n = after ? line[i + 2] : b;
            const Side s1 = orientation(p, v, x, y), s2 = orientation(v, n, x, y);
            const bool left = orientation(p, v, n.x, n.y) == Side::Left ? s1 == Side::Left && s2 == Side::Left
                                                                        : s1 == Side::Left || s2 == Side::Left;
            side = left ? Side::Left : (s1 == Side::On && s2 == Side::On ? Side::On : Side::Right);
        }
    }
    return side;
}

// A random walk of whole steps (so that distances tie often), in two paths, with a repeated vertex.
Paths walk(unsigned seed, size_t n) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> step(-3, 3);
    Paths paths(2);
    double x = 0, y = 0;
    for (size_t i = 0; i < n; ++i) {
        x += step(random), y += step(random);
        paths[i < n / 3 ? 0 : 1].push_back({x, y});
    }
    paths[1].insert(paths[1].begin() + 5, paths[1][5]);
    return paths;
}

TEST(PathSides, AgreesWithEverySegmentScanned) {
    for (unsigned seed : {1u, 2u, 3u}) {
        const Paths paths = walk(seed, 3000);
        const ops::PathSides sides(paths);
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> index(0, static_cast<int>(paths[1].size()) - 2);
        std::uniform_real_distribution<double> anywhere(-60, 60);
        for (int k = 0; k < 2000; ++k) {
            const Vertex &a = paths[1][static_cast<size_t>(index(random))], &b = paths[1][static_cast<size_t>(index(random))];
            const std::pair<double, double> probes[] = {
                {anywhere(random), anywhere(random)},
                {a.x, a.y},                                   // on a vertex
                {(a.x + b.x) / 2, (a.y + b.y) / 2},           // midway between two vertices
                {std::round(anywhere(random)) + 0.5, std::round(anywhere(random))},
            };
            for (const auto& [x, y] : probes) ASSERT_EQ(sides.side_of(x, y), scanned(paths, x, y)) << seed << " " << x << " " << y;
        }
    }
}

TEST(PathSides, AtAJointTheTurnDecides) {
    // Up the y axis, then right: the left side is the wedge left of both segments.
    const ops::PathSides sides({{{0, 0}, {0, 10}, {10, 10}}});
    EXPECT_EQ(sides.side_of(-1, 11), Side::Left);
    EXPECT_EQ(sides.side_of(1, 11), Side::Left);
    EXPECT_EQ(sides.side_of(-1, 9), Side::Left);
    EXPECT_EQ(sides.side_of(1, 9), Side::Right);
    EXPECT_EQ(sides.side_of(0, 10), Side::On);
    const ops::PathSides none({{{1, 1}, {1, 1}}});
    EXPECT_EQ(none.side_of(0, 0), Side::On);
}

TEST(PathSides, ASettledSideOfRingsIsWhetherThePolygonHoldsThePoint) {
    // A comb-like shell (clockwise) and a hole (counter-clockwise) touching it at (4, 4): the
    // touching vertex and the near ties about it are left to GEOS, every other answer is exact.
    const Paths rings = {{{0, 0}, {0, 4}, {2, 4}, {2, 1}, {4, 4}, {6, 4}, {6, 0}, {0, 0}},
                         {{4, 4}, {3, 2}, {5, 2}, {4, 4}}};
    const ops::PathSides sides(rings, ops::PathSides::Ends::Closed);
    ops::GeosPtr polygon(GEOSGeomFromWKT_r(ops::geos(), "POLYGON ((0 0, 0 4, 2 4, 2 1, 4 4, 6 4, 6 0, 0 0), (4 4, 3 2, 5 2, 4 4))"));
    size_t settled = 0, unsettled = 0;
    for (int i = -4; i <= 64; ++i) {
        for (int j = -4; j <= 44; ++j) {
            const double x = i / 10.0 + 0.013, y = j / 10.0 + 0.007;
            const auto side = sides.certain_side_of(x, y);
            if (!side) {
                ++unsettled;
                continue;
            }
            ++settled;
            ops::GeosPtr point(GEOSGeom_createPointFromXY_r(ops::geos(), x, y));
            ASSERT_EQ(*side == Side::Right, GEOSIntersects_r(ops::geos(), polygon.get(), point.get()) == 1) << x << " " << y;
        }
    }
    EXPECT_GT(settled, 50 * unsettled);
    EXPECT_EQ(sides.certain_side_of(4, 4), std::nullopt);     // on the rings
    EXPECT_EQ(sides.certain_side_of(4, 4.5), std::nullopt);   // nearest the vertex two rings share
    EXPECT_EQ(sides.certain_side_of(0.5, 2), Side::Right);
    EXPECT_EQ(sides.certain_side_of(1, 2), std::nullopt);    // as near two edges
}

}  // namespace
