// The indexes of boxes against a plain scan of every box: each question must give exactly the
// boxes that hold (or share area with) the one asked about, however the boxes lie: spread evenly,
// crowded in a corner, wide, nested, touching, equal.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "ops/box_tree.h"
#include "ops/holder_index.h"

namespace {

using ops::Bounds;

std::vector<uint32_t> sorted(std::vector<uint32_t> v) {
    std::sort(v.begin(), v.end());
    return v;
}

std::vector<uint32_t> scanned(const std::vector<Bounds>& boxes, const std::function<bool(const Bounds&)>& takes) {
    std::vector<uint32_t> out;
    for (uint32_t i = 0; i < boxes.size(); ++i)
        if (takes(boxes[i])) out.push_back(i);
    return out;
}

// name: the boxes of one arrangement.
struct Arrangement {
    const char* name;
    std::function<std::vector<Bounds>()> boxes;
};

std::vector<Bounds> parcels() {
    std::vector<Bounds> out;
    for (int i = 0; i < 30; ++i)
        for (int j = 0; j < 30; ++j) out.push_back({1.0 * i, 1.0 * j, i + 1.0, j + 1.0});
    return out;
}

std::vector<Bounds> holes_and_islands() {
    std::vector<Bounds> out{{0, 0, 121, 121}};
    for (int i = 0; i < 30; ++i)
        for (int j = 0; j < 30; ++j) {
            out.push_back({4.0 * i + 1, 4.0 * j + 1, 4.0 * i + 4, 4.0 * j + 4});
            out.push_back({4.0 * i + 2, 4.0 * j + 2, 4.0 * i + 3, 4.0 * j + 3});
        }
    return out;
}

// Most boxes in one corner, one far away: the grid would crowd them into a cell.
std::vector<Bounds> crowded() {
    std::vector<Bounds> out{{1e6, 1e6, 1e6 + 1, 1e6 + 1}};
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> at(0, 10);
    for (int k = 0; k < 500; ++k) {
        const double x = at(rng), y = at(rng);
        out.push_back({x, y, x + at(rng) / 20, y + at(rng) / 20});
    }
    return out;
}

std::vector<Bounds> nested() {
    std::vector<Bounds> out;
    for (int d = 0; d < 300; ++d) out.push_back({0.1 * d, 0.1 * d, 100 - 0.1 * d, 100 - 0.1 * d});
    return out;
}

// Random rectangles of every size, some repeated exactly, some sharing edges with others.
std::vector<Bounds> mixed() {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> at(0, 60), size(0, 30);
    std::vector<Bounds> out;
    for (int k = 0; k < 700; ++k) {
        const double x = at(rng), y = at(rng);
        out.push_back({x, y, x + size(rng) / (k % 3 == 0 ? 1.0 : 8.0), y + size(rng) / 8.0});
        if (k % 50 == 0) out.push_back(out.back());
    }
    return out;
}

const Arrangement kArrangements[] = {
    {"parcels", parcels}, {"holes and islands", holes_and_islands}, {"crowded", crowded}, {"nested", nested}, {"mixed", mixed},
};

ops::Scratch<uint32_t> ids(const std::vector<uint32_t>& chosen) {
    ops::Scratch<uint32_t> out;
    out.assign(chosen.begin(), chosen.end());
    return out;
}

TEST(BoxTree, GivesExactlyTheBoxesAPlainScanFinds) {
    for (const auto& arrangement : kArrangements) {
        const std::vector<Bounds> boxes = arrangement.boxes();
        std::vector<uint32_t> all(boxes.size()), odd;
        for (uint32_t i = 0; i < boxes.size(); ++i) {
            all[i] = i;
            if (i % 2 == 1) odd.push_back(i);
        }
        const ops::BoxTree tree(boxes, ids(all));
        const ops::HolderIndex index(boxes, ids(all)), odd_index(boxes, ids(odd));
        for (uint32_t q = 0; q < boxes.size(); q += 3) {
            const Bounds& b = boxes[q];
            const std::string where = std::string(arrangement.name) + ", box " + std::to_string(q);
            const auto holds = [&](const Bounds& o) { return o.holds(b); };
            std::vector<uint32_t> got;
            tree.holders_of(b, [&](uint32_t j) { got.push_back(j); });
            EXPECT_EQ(sorted(got), scanned(boxes, holds)) << where;
            got.clear();
            tree.overlapping(b, [&](uint32_t j) { got.push_back(j); });
            EXPECT_EQ(sorted(got), scanned(boxes, [&](const Bounds& o) { return o.overlaps(b); })) << where;
            got.clear();
            ops::HolderIndex::Holders walk(index, b);
            for (uint32_t j = 0; walk.next(j);) got.push_back(j);
            EXPECT_EQ(sorted(got), scanned(boxes, holds)) << where;
            got.clear();
            ops::HolderIndex::Holders odd_walk(odd_index, b);
            for (uint32_t j = 0; odd_walk.next(j);) got.push_back(j);
            std::vector<uint32_t> expected;
            for (uint32_t j : scanned(boxes, holds))
                if (j % 2 == 1) expected.push_back(j);
            EXPECT_EQ(sorted(got), expected) << where;
        }
    }
}

}  // namespace
