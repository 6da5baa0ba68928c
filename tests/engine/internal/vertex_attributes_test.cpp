// z and m of result vertices: a vertex not in the input takes them from the nearest input segment
// within the tolerance, found through the segments' box index, and that answer must be the one a
// scan of every segment gives (the reference below), ties and near misses included; a position an
// input part passes more than once is matched in order along the part.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "model/multipart.h"
#include "ops/vertex_attributes.h"

namespace {

using model::Vertex;
using ops::VertexAttributes;

model::Part part(std::vector<Vertex> points, bool ring) {
    model::Part p;
    p.points = std::move(points);
    p.ring = ring;
    p.dims = {true, true};
    return p;
}

model::Multipart polyline(std::vector<model::Part> parts) {
    return model::Multipart(model::GeometryKind::Polyline, std::move(parts), {true, true});
}

// Every segment measured, the nearest within the tolerance kept, the first of equals.
Vertex scanned(const std::vector<std::vector<Vertex>>& lines, double scale, Vertex v) {
    const double tolerance = 1e-9 * std::max(scale, 1.0);
    double best = std::numeric_limits<double>::infinity();
    Vertex found = v;
    found.m = model::kNaN;
    for (const auto& line : lines)
        for (size_t i = 0; i + 1 < line.size(); ++i) {
            const Vertex &a = line[i], &b = line[i + 1];
            const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
            if (len2 == 0) continue;
            const double f = std::clamp(((v.x - a.x) * dx + (v.y - a.y) * dy) / len2, 0.0, 1.0);
            const double d = std::hypot(a.x + f * dx - v.x, a.y + f * dy - v.y);
            if (d <= tolerance && d < best) {
                best = d;
                found = {v.x, v.y, a.z + (b.z - a.z) * f, a.m + (b.m - a.m) * f};
            }
        }
    return found;
}

void expect_same(const Vertex& got, const Vertex& want, size_t k) {
    EXPECT_TRUE(model::same_ordinate(got.z, want.z)) << "query " << k << ": z " << got.z << " against " << want.z;
    EXPECT_TRUE(model::same_ordinate(got.m, want.m)) << "query " << k << ": m " << got.m << " against " << want.m;
}

TEST(VertexAttributes, NewVerticesTakeWhatAScanOfEverySegmentGives) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(0, 1);
    // Random walks over a small area (segments crossing and lying near one another everywhere),
    // a path that runs back over itself with other values (exact ties), and long segments.
    std::vector<model::Part> parts;
    std::vector<std::vector<Vertex>> lines;
    double scale = 0;
    for (int w = 0; w < 40; ++w) {
        std::vector<Vertex> walk;
        double x = 100 * unit(random), y = 100 * unit(random);
        for (int i = 0; i < 150; ++i) {
            walk.push_back({x, y, unit(random), 1000 * unit(random)});
            x = std::clamp(x + 6 * (unit(random) - 0.5), 0.0, 100.0);
            y = std::clamp(y + 6 * (unit(random) - 0.5), 0.0, 100.0);
        }
        parts.push_back(part(walk, w % 4 == 0));
    }
    parts.push_back(part({{0.1, 0.3, 1, 10}, {99.7, 0.3, 2, 20}, {0.1, 0.3, 3, 30}}, false));
    parts.push_back(part({{-5, -5, 0, 0}, {105, 105, 1, 1}}, false));
    for (const auto& p : parts) {
        auto line = p.points;
        if (p.ring) line.push_back(line.front());
        lines.push_back(line);
        for (const auto& v : p.points) scale = std::max({scale, std::abs(v.x), std::abs(v.y)});
    }
    const model::Multipart input = polyline(parts);
    const VertexAttributes attributes({&input}, VertexAttributes::NewVertices::Interpolated);

    // Points on segments (rounded onto them), just off them (inside and outside the tolerance),
    // on the retraced path, and anywhere.
    std::vector<Vertex> queries;
    for (int k = 0; k < 4000; ++k) {
        const auto& line = lines[random() % lines.size()];
        const size_t i = random() % (line.size() - 1);
        const double f = unit(random);
        const Vertex &a = line[i], &b = line[i + 1];
        const double off = k % 3 == 0 ? 0 : (k % 3 == 1 ? 0.5e-7 : 2e-7) * (unit(random) - 0.5);
        queries.push_back({a.x + f * (b.x - a.x) + off, a.y + f * (b.y - a.y) - off});
    }
    for (int k = 0; k < 500; ++k) queries.push_back({100 * unit(random), 100 * unit(random)});
    for (size_t k = 0; k < queries.size(); ++k) {
        Vertex got = queries[k];
        attributes.restore({&got, 1}, false);
        expect_same(got, scanned(lines, scale, queries[k]), k);
    }
}

TEST(VertexAttributes, APositionPassedTwiceIsMatchedInOrderAlongThePart) {
    // (2, 2) is passed twice, with other values each time; a second part and a second input
    // pass it once.
    const model::Multipart input = polyline({part({{0, 0, 1, 10}, {2, 2, 2, 20}, {4, 0, 3, 30}, {6, 2, 4, 40},
                                                   {4, 4, 5, 50}, {2, 2, 6, 60}, {0, 4, 7, 70}},
                                                  false),
                                             part({{2, 2, 8, 80}, {9, 9, 9, 90}}, false)});
    const VertexAttributes attributes({&input}, VertexAttributes::NewVertices::Interpolated);
    struct Case {
        const char* name;
        std::vector<Vertex> result;  // x and y (z where GEOS gave one)
        std::vector<double> m;
    };
    const double nan = model::kNaN;
    const Case cases[] = {
        {"the whole path", {{0, 0}, {2, 2}, {4, 0}, {6, 2}, {4, 4}, {2, 2}, {0, 4}}, {10, 20, 30, 40, 50, 60, 70}},
        {"starting at the second passage", {{2, 2}, {0, 4}}, {60, 70}},
        {"from a new vertex", {{3, 3}, {2, 2}, {1, 3}}, {55, 60, 65}},
        {"run backwards", {{0, 4}, {2, 2}, {4, 4}, {6, 2}, {4, 0}, {2, 2}, {0, 0}}, {70, 60, 50, 40, 30, 20, 10}},
        {"nothing certain: the first passage", {{2, 2}}, {20}},
        {"along the other part: the first passage", {{2, 2}, {9, 9}}, {20, 90}},
        {"off every segment", {{50, 50}}, {nan}},
    };
    for (const auto& c : cases) {
        auto result = c.result;
        for (auto& v : result) v.z = 2;  // what GEOS's noding gives every passage
        attributes.restore(result, false);
        for (size_t i = 0; i < result.size(); ++i) {
            EXPECT_TRUE(model::same_ordinate(result[i].m, c.m[i])) << c.name << ", vertex " << i << ": " << result[i].m;
            if (c.m[i] == 60) {
                EXPECT_EQ(result[i].z, 6) << c.name << ", vertex " << i;
            }
        }
    }
}

TEST(VertexAttributes, ARingTouchingItselfGivesEachResultRingItsOwnPassage) {
    // The ring passes (5, 0) twice: once on the square, once closing the loop inside it.
    model::Multipart polygon(model::GeometryKind::Polygon,
                             {part({{0, 0, 0, 10}, {0, 10, 0, 20}, {10, 10, 0, 30}, {10, 0, 0, 40}, {5, 0, 0, 50},
                                    {6, 2, 0, 60}, {4, 2, 0, 70}, {5, 0, 0, 80}},
                                   true)},
                             {true, true});
    const VertexAttributes attributes({&polygon}, VertexAttributes::NewVertices::Unknown);
    // As GEOS writes them, closed: the square, and the loop as a hole, either way round.
    std::vector<Vertex> shell{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {5, 0}, {0, 0}};
    std::vector<Vertex> hole{{5, 0}, {6, 2}, {4, 2}, {5, 0}};
    std::vector<Vertex> hole_reversed{{5, 0}, {4, 2}, {6, 2}, {5, 0}};
    attributes.restore(shell, true);
    attributes.restore(hole, true);
    attributes.restore(hole_reversed, true);
    EXPECT_EQ(shell[4].m, 50);  // arrived at from (10, 0)
    EXPECT_EQ(hole.front().m, 80);  // arrived at from (4, 2)
    EXPECT_EQ(hole.back().m, 80);
    EXPECT_EQ(hole_reversed.front().m, 50);  // arrived at from (6, 2), against the input's way
}

}  // namespace
