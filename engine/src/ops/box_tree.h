// A packed tree of bounding boxes in flat arrays, for finding among many rings those whose boxes
// hold or overlap a given box in O(log n) per question: boxes sorted into slices by x and each slice
// by y, sixteen to a node, each level's nodes sixteen to a node of the next. The few largest boxes
// (a shell around many holes) stand apart, asked every time: inside the tree each would widen every
// node above it to the whole extent, and every question would descend there too.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace ops {

struct Box {
    double xmin = INFINITY, ymin = INFINITY, xmax = -INFINITY, ymax = -INFINITY;
    // (Every comparison made, without a branch: the tree asks these of many boxes at once.)
    bool holds(const Box& o) const { return (xmin <= o.xmin) & (ymin <= o.ymin) & (xmax >= o.xmax) & (ymax >= o.ymax); }
    // Whether the two share area: boxes that only touch along an edge or at a corner do not.
    bool overlaps(const Box& o) const { return (xmin < o.xmax) & (o.xmin < xmax) & (ymin < o.ymax) & (o.ymin < ymax); }
    void join(const Box& o) {
        xmin = std::min(xmin, o.xmin), ymin = std::min(ymin, o.ymin);
        xmax = std::max(xmax, o.xmax), ymax = std::max(ymax, o.ymax);
    }
    double magnitude() const { return std::max({std::abs(xmin), std::abs(xmax), std::abs(ymin), std::abs(ymax)}); }
};

class BoxTree {
public:
    // A tree of the boxes `ids` picks out of `boxes`.
    BoxTree(const std::vector<Box>& boxes, std::vector<uint32_t> ids);

    // Calls f(i) for every box i of the tree that holds b (b's own index among them).
    template <typename F>
    void holders_of(const Box& b, F f) const {
        query([&](const Box& n) { return n.holds(b); }, f);
    }

    // Calls f(i) for every box i of the tree that shares area with b.
    template <typename F>
    void overlapping(const Box& b, F f) const {
        query([&](const Box& n) { return n.overlaps(b); }, f);
    }

private:
    static constexpr uint32_t kFan = 16;
    static constexpr size_t kMaxLevels = 9;  // 16^8 boxes and more than 2^32 rings

    // Every box `admits` takes, where `admits` takes a node's box whenever it takes any box inside.
    template <typename P, typename F>
    void query(P admits, F f) const {
        for (uint32_t taken = mask(admits, wide_, 0); taken != 0; taken &= taken - 1)
            f(wide_ids_[std::countr_zero(taken)]);
        if (leaves_.empty()) return;
        std::array<std::pair<uint32_t, uint32_t>, kFan * (kMaxLevels + 1)> stack;
        size_t top = 0;
        const auto level = static_cast<uint32_t>(levels_.size() - 1);
        for (uint32_t k = 0; k < levels_.back().size(); ++k)
            if (admits(levels_.back()[k])) stack[top++] = {level, k};
        while (top > 0) {
            const auto [l, k] = stack[--top];
            const size_t begin = size_t{k} * kFan;
            const std::vector<Box>& below = l == 0 ? leaves_ : levels_[l - 1];
            for (uint32_t taken = mask(admits, below, begin); taken != 0; taken &= taken - 1) {
                const size_t c = begin + static_cast<size_t>(std::countr_zero(taken));
                if (l == 0) f(ids_[c]);
                else stack[top++] = {l - 1, static_cast<uint32_t>(c)};
            }
        }
    }

    // Which of boxes[begin ..] (kFan at most) `admits` takes, as bits: every box is tested before
    // any is taken, without a branch per box to mispredict.
    template <typename P>
    static uint32_t mask(P admits, const std::vector<Box>& boxes, size_t begin) {
        uint32_t taken = 0;
        for (size_t c = begin, end = std::min(begin + kFan, boxes.size()); c < end; ++c)
            taken |= static_cast<uint32_t>(admits(boxes[c])) << (c - begin);
        return taken;
    }

    std::vector<Box> wide_;                 // the largest boxes, kFan at most, apart from the tree
    std::vector<uint32_t> wide_ids_;
    std::vector<Box> leaves_;               // the boxes in the tree's order
    std::vector<uint32_t> ids_;             // and the index each was given as
    std::vector<std::vector<Box>> levels_;  // level 0 covers kFan leaves a node, level l kFan nodes of l - 1
};

}  // namespace ops
