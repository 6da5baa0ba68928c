#include "ops/box_tree.h"

#include <utility>

namespace ops {
namespace {

// A box's centre along one axis, as a sort key that orders every box (an unbounded one included).
double centre(double low, double high) {
    const double c = 0.5 * low + 0.5 * high;
    return std::isnan(c) ? 0.0 : c;
}

// The boxes among `ids` wider or taller than a quarter of them all, kFan at most, the largest
// first; taken out of `ids`.
std::vector<uint32_t> wide(const std::vector<Bounds>& boxes, Scratch<uint32_t>& ids, size_t most) {
    Bounds extent;
    for (uint32_t i : ids) extent.join(boxes[i]);
    const auto area = [&](uint32_t i) {
        const double a = (boxes[i].xmax - boxes[i].xmin) * (boxes[i].ymax - boxes[i].ymin);
        return std::isnan(a) ? INFINITY : a;
    };
    std::vector<uint32_t> out;
    for (uint32_t i : ids)
        if (!(4 * (boxes[i].xmax - boxes[i].xmin) <= extent.xmax - extent.xmin) ||
            !(4 * (boxes[i].ymax - boxes[i].ymin) <= extent.ymax - extent.ymin))
            out.push_back(i);
    if (out.size() > most) {
        std::partial_sort(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(most), out.end(),
                          [&](uint32_t a, uint32_t b) { return area(a) > area(b); });
        out.resize(most);
    }
    std::sort(out.begin(), out.end());
    std::erase_if(ids, [&](uint32_t i) { return std::binary_search(out.begin(), out.end(), i); });
    return out;
}

}  // namespace

BoxTree::BoxTree(const std::vector<Bounds>& boxes, Scratch<uint32_t> ids) {
    wide_ids_ = wide(boxes, ids, kFan);
    for (uint32_t i : wide_ids_) wide_.push_back(boxes[i]);
    const size_t n = ids.size();
    if (n == 0) return;
    Scratch<std::pair<double, uint32_t>> keyed(n);
    for (size_t k = 0; k < n; ++k) keyed[k] = {centre(boxes[ids[k]].xmin, boxes[ids[k]].xmax), ids[k]};
    std::sort(keyed.begin(), keyed.end());
    // Slices of about the square root of the node count, so that nodes come out near square.
    const size_t nodes = (n + kFan - 1) / kFan;
    const size_t slice = kFan * static_cast<size_t>(std::ceil(std::sqrt(static_cast<double>(nodes))));
    for (auto& [key, id] : keyed) key = centre(boxes[id].ymin, boxes[id].ymax);
    for (size_t s = 0; s < n; s += slice)
        std::sort(keyed.begin() + static_cast<std::ptrdiff_t>(s), keyed.begin() + static_cast<std::ptrdiff_t>(std::min(s + slice, n)));
    ids_.reserve(n);
    for (const auto& [key, id] : keyed) ids_.push_back(id);
    leaves_.reserve(n);
    for (uint32_t i : ids_) leaves_.push_back(boxes[i]);
    const std::vector<Bounds>* below = &leaves_;
    do {
        Scratch<Bounds> level;
        for (size_t i = 0; i < below->size(); i += kFan)
            level.push_back(joined(below->data() + i, below->data() + std::min(i + kFan, below->size())));
        levels_.push_back(std::move(level));
        below = &levels_.back();
    } while (below->size() > kFan);
}

}  // namespace ops
