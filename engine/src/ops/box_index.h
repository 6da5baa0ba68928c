// A packed tree of boxes (items sorted along a Z-order curve, then grouped eight to a node, level by
// level), built once over a fixed list and asked which items' boxes hold a point: what a scan of the
// whole list answers, in time proportional to the tree's depth and to the boxes near the point.
// Everything lives in flat arrays.
//
// It stands beside ops/box_tree.h, which answers which boxes hold or overlap a box (the rings of a
// polygon, the largest kept apart): asked about points among a line's segments (the new vertices
// whose z and m restore interpolates), this one is the faster: through that tree, clip of a
// 60,000-vertex comb with m spent twice as long in the lookups.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ops/bounds.h"

namespace ops {

class BoxIndex {
    static constexpr uint32_t kNodeSize = 8;

public:
    // Over `boxes`, whose positions in the list are the items' numbers. Boxes with a bound that is not
    // finite are left out: never visited.
    explicit BoxIndex(const std::vector<Bounds>& boxes);

    // Calls `visit(item)` for every item whose box, widened by `margin` on every side, holds
    // (x, y); in no particular order.
    template <typename Visit>
    void visit(double x, double y, double margin, Visit visit) const {
        if (boxes_.empty()) return;
        // Each level down leaves at most a node's other children waiting, and 32-bit item numbers
        // make at most eleven levels of eight.
        uint32_t pending[12 * kNodeSize];
        size_t waiting = 0;
        pending[waiting++] = static_cast<uint32_t>(boxes_.size() - 1);  // the root
        while (waiting > 0) {
            const uint32_t node = pending[--waiting];
            const Bounds& b = boxes_[node];
            if (!(x >= b.xmin - margin && x <= b.xmax + margin && y >= b.ymin - margin && y <= b.ymax + margin)) continue;
            if (node < items_.size()) {
                visit(items_[node]);
                continue;
            }
            const auto [first, end] = children_[node - items_.size()];
            for (uint32_t c = first; c < end; ++c) pending[waiting++] = c;
        }
    }

private:
    struct Children {
        uint32_t first, end;
    };

    // Leaves first (the items' boxes in Z order), then each level of nodes; the root last.
    std::vector<Bounds> boxes_;
    std::vector<uint32_t> items_;     // the item of each leaf
    std::vector<Children> children_;  // of each node, by its position past the leaves
};

}  // namespace ops
