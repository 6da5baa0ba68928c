#include "ops/box_index.h"

#include <algorithm>
#include <cmath>

namespace ops {
namespace {

// The bits of `v` spread to the even places.
uint64_t spread(uint64_t v) {
    v &= 0xFFFF;
    v = (v | (v << 8)) & 0x00FF00FF;
    v = (v | (v << 4)) & 0x0F0F0F0F;
    v = (v | (v << 2)) & 0x33333333;
    return (v | (v << 1)) & 0x55555555;
}

// The position of (x, y) along a Z-order curve over a 65536 x 65536 grid.
uint64_t z_order(uint64_t x, uint64_t y) { return spread(x) | (spread(y) << 1); }

// A coordinate's cell of 65536 across [lo, hi].
uint64_t cell(double v, double lo, double hi) {
    if (!(hi > lo)) return 0;
    const double f = (v - lo) / (hi - lo) * 65535.0;
    if (!(f > 0)) return 0;  // NaN too
    return f < 65535.0 ? static_cast<uint64_t>(f) : 65535;
}

Bounds joined(const Bounds* from, const Bounds* to) {
    Bounds out{INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (const Bounds* b = from; b != to; ++b) {
        out.xmin = std::min(out.xmin, b->xmin), out.ymin = std::min(out.ymin, b->ymin);
        out.xmax = std::max(out.xmax, b->xmax), out.ymax = std::max(out.ymax, b->ymax);
    }
    return out;
}

}  // namespace

BoxIndex::BoxIndex(const std::vector<Bounds>& boxes) {
    for (uint32_t i = 0; i < boxes.size(); ++i) {
        const Bounds& b = boxes[i];
        if (std::isfinite(b.xmin) && std::isfinite(b.ymin) && std::isfinite(b.xmax) && std::isfinite(b.ymax)) items_.push_back(i);
    }
    if (items_.empty()) return;
    boxes_.reserve(items_.size() + items_.size() / (kNodeSize - 1) + 1);
    for (uint32_t item : items_) boxes_.push_back(boxes[item]);
    const Bounds all = joined(boxes_.data(), boxes_.data() + boxes_.size());
    // Sorted by their centres' places along the curve, the item in the low half as the tie.
    std::vector<uint64_t> order(items_.size());
    for (size_t k = 0; k < items_.size(); ++k) {
        const Bounds& b = boxes_[k];
        const uint64_t place = z_order(cell((b.xmin + b.xmax) / 2, all.xmin, all.xmax), cell((b.ymin + b.ymax) / 2, all.ymin, all.ymax));
        order[k] = place << 32 | items_[k];
    }
    std::sort(order.begin(), order.end());
    for (size_t k = 0; k < order.size(); ++k) {
        items_[k] = static_cast<uint32_t>(order[k]);
        boxes_[k] = boxes[items_[k]];
    }
    // Each level groups the one below, sixteen to a node, until one node holds them all.
    size_t level = 0, level_end = boxes_.size();
    while (level_end - level > 1) {
        for (size_t first = level; first < level_end; first += kNodeSize) {
            const size_t end = std::min(first + kNodeSize, level_end);
            boxes_.push_back(joined(boxes_.data() + first, boxes_.data() + end));
            children_.push_back({static_cast<uint32_t>(first), static_cast<uint32_t>(end)});
        }
        level = level_end;
        level_end = boxes_.size();
    }
}

}  // namespace ops
