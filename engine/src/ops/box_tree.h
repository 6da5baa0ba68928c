// A packed tree of bounding boxes in flat arrays, for finding among many boxes (of rings, of
// segments) those that hold or overlap a given box in O(log n) per question: boxes sorted into slices by x and each slice
// by y, sixteen to a node, each level's nodes sixteen to a node of the next. The few largest boxes
// (a shell around many holes) stand apart, asked every time: inside the tree each would widen every
// node above it to the whole extent, and every question would descend there too.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "ops/bounds.h"
#include "ops/scratch.h"

namespace ops {

// The boxes a walk takes: those that hold a box, or those that share area with it. Each takes a
// node's box whenever it takes any box inside.
struct HoldsBox {
    Bounds b;
    bool operator()(const Bounds& n) const { return n.holds(b); }
};
struct OverlapsBox {
    Bounds b;
    bool operator()(const Bounds& n) const { return n.overlaps(b); }
};

class BoxTree {
    static constexpr uint32_t kFan = 16;
    static constexpr size_t kMaxLevels = 9;  // 16^8 boxes and more than 2^32 rings

public:
    // A tree of the boxes `ids` picks out of `boxes`.
    BoxTree(const std::vector<Bounds>& boxes, Scratch<uint32_t> ids);

    // The boxes of the tree that `admits` takes, one at a time, so that a caller can stop early.
    template <typename P>
    class Walk {
    public:
        Walk(const BoxTree& tree, P admits) : tree_(&tree), admits_(admits) {
            wide_ = mask(admits_, tree.wide_, 0);
            if (tree.leaves_.empty()) return;
            const auto& top = tree.levels_.back();
            for (uint32_t taken = mask(admits_, top, 0); taken != 0; taken &= taken - 1)
                stack_[size_++] = {static_cast<uint32_t>(tree.levels_.size() - 1), static_cast<uint32_t>(std::countr_zero(taken))};
        }

        // The next box taken, into `id`; false once there is none.
        bool next(uint32_t& id) {
            if (wide_ != 0) {
                id = tree_->wide_ids_[std::countr_zero(wide_)];
                wide_ &= wide_ - 1;
                return true;
            }
            while (leaves_ == 0) {
                if (size_ == 0) return false;
                const auto [l, k] = stack_[--size_];
                static_assert(std::is_trivially_default_constructible_v<Node>);
                const size_t begin = size_t{k} * kFan;
                const uint32_t taken = mask(admits_, l == 0 ? tree_->leaves_ : tree_->levels_[l - 1], begin);
                if (l == 0) {
                    leaves_ = taken, first_leaf_ = begin;
                    continue;
                }
                for (uint32_t t = taken; t != 0; t &= t - 1)
                    stack_[size_++] = {l - 1, static_cast<uint32_t>(begin + static_cast<size_t>(std::countr_zero(t)))};
            }
            id = tree_->ids_[first_leaf_ + static_cast<size_t>(std::countr_zero(leaves_))];
            leaves_ &= leaves_ - 1;
            return true;
        }

    private:
        const BoxTree* tree_;
        P admits_;
        uint32_t wide_ = 0;    // the wide boxes taken and not yet given, as bits
        uint32_t leaves_ = 0;  // the same for the leaves from first_leaf_
        size_t first_leaf_ = 0;
        // The nodes to open (left unset until pushed: a walk is made per question).
        struct Node {
            uint32_t level, index;
        };
        std::array<Node, kFan * (kMaxLevels + 1)> stack_;
        size_t size_ = 0;
    };

    // Calls f(i) for every box i of the tree that holds b (b's own index among them).
    template <typename F>
    void holders_of(const Bounds& b, F f) const {
        Walk<HoldsBox> walk(*this, {b});
        for (uint32_t id = 0; walk.next(id);) f(id);
    }

    // Calls f(i) for every box i of the tree that shares area with b.
    template <typename F>
    void overlapping(const Bounds& b, F f) const {
        Walk<OverlapsBox> walk(*this, {b});
        for (uint32_t id = 0; walk.next(id);) f(id);
    }

private:
    // Which of boxes[begin ..] (kFan at most) `admits` takes, as bits: every box is tested before
    // any is taken, without a branch per box to mispredict.
    template <typename P>
    static uint32_t mask(P admits, const std::vector<Bounds>& boxes, size_t begin) {
        uint32_t taken = 0;
        for (size_t c = begin, end = std::min(begin + kFan, boxes.size()); c < end; ++c)
            taken |= static_cast<uint32_t>(admits(boxes[c])) << (c - begin);
        return taken;
    }

    std::vector<Bounds> wide_;                 // the largest boxes, kFan at most, apart from the tree
    std::vector<uint32_t> wide_ids_;
    Scratch<Bounds> leaves_;                   // the boxes in the tree's order
    Scratch<uint32_t> ids_;                 // and the index each was given as
    std::vector<Scratch<Bounds>> levels_;  // level 0 covers kFan leaves a node, level l kFan nodes of l - 1
};

}  // namespace ops
