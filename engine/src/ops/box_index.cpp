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

// Sorts keys of a place (upper half) over an item (lower half) by place, items in their order on
// a tie: a radix sort, a byte of the place at a time, in time linear in the keys.
void sort_by_place(std::vector<uint64_t>& keys) {
    std::vector<uint64_t> other(keys.size());
    for (int shift = 32; shift < 64; shift += 8) {
        size_t count[257] = {};
        for (uint64_t k : keys) ++count[((k >> shift) & 0xFF) + 1];
        for (size_t b = 1; b < 257; ++b) count[b] += count[b - 1];
        for (uint64_t k : keys) other[count[(k >> shift) & 0xFF]++] = k;
        keys.swap(other);
    }
}

}  // namespace

BoxIndex::BoxIndex(const std::vector<Bounds>& boxes) {
    const auto finite = [](const Bounds& b) {
        return std::isfinite(b.xmin) && std::isfinite(b.ymin) && std::isfinite(b.xmax) && std::isfinite(b.ymax);
    };
    Bounds all;
    for (const Bounds& b : boxes)
        if (finite(b)) all.join(b);
    // Sorted by their centres' places along the curve over the square about them all (one scale for
    // x and y: a long, flat input is then walked along its length), the item in the low half as the tie.
    const double side = std::max(all.xmax - all.xmin, all.ymax - all.ymin);
    std::vector<uint64_t> order;
    order.reserve(boxes.size());
    for (uint32_t i = 0; i < boxes.size(); ++i) {
        const Bounds& b = boxes[i];
        if (!finite(b)) continue;
        const uint64_t place = z_order(cell((b.xmin + b.xmax) / 2, all.xmin, all.xmin + side), cell((b.ymin + b.ymax) / 2, all.ymin, all.ymin + side));
        order.push_back(place << 32 | i);
    }
    if (order.empty()) return;
    sort_by_place(order);
    items_.resize(order.size());
    boxes_.reserve(order.size() + order.size() / (kNodeSize - 1) + 1);
    for (size_t k = 0; k < order.size(); ++k) {
        items_[k] = static_cast<uint32_t>(order[k]);
        boxes_.push_back(boxes[items_[k]]);
    }
    // Each level groups the one below, eight to a node, until one node holds them all.
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
