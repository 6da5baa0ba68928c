#include "ops/holder_index.h"

#include <algorithm>
#include <cmath>

namespace ops {
namespace {

// Boxes covering more cells than this are large.
constexpr size_t kMostCells = 9;

// A small box and the cells it covers.
struct Cells {
    uint32_t id, c0, c1, r0, r1;
};

}  // namespace

HolderIndex::HolderIndex(const std::vector<Bounds>& boxes, Scratch<uint32_t> ids)
    : boxes_(&boxes), large_(boxes, {}) {
    if (!file(boxes, ids)) start_.clear(), filed_.clear();
    if (!ids.empty()) large_ = BoxTree(boxes, std::move(ids));
}

bool HolderIndex::file(const std::vector<Bounds>& boxes, Scratch<uint32_t>& ids) {
    const size_t n = ids.size();
    if (n < 64) return false;
    for (uint32_t i : ids) extent_.join(boxes[i]);
    const double w = extent_.xmax - extent_.xmin, h = extent_.ymax - extent_.ymin;
    if (!std::isfinite(w) || !std::isfinite(h) || !(w > 0) || !(h > 0)) return false;
    // About one cell a box, near square.
    const double aspect = std::clamp(w / h, 1.0 / static_cast<double>(n), static_cast<double>(n));
    columns_ = std::max<size_t>(1, static_cast<size_t>(std::sqrt(static_cast<double>(n) * aspect)));
    rows_ = std::max<size_t>(1, n / columns_);
    per_width_ = static_cast<double>(columns_) / w, per_height_ = static_cast<double>(rows_) / h;
    start_.assign(columns_ * rows_ + 1, 0);
    Scratch<uint32_t> large;
    Scratch<Cells> small;
    small.reserve(n);
    for (uint32_t i : ids) {
        const Bounds& b = boxes[i];
        const size_t c0 = column(b.xmin), c1 = column(b.xmax), r0 = row(b.ymin), r1 = row(b.ymax);
        if ((c1 - c0 + 1) * (r1 - r0 + 1) > kMostCells) {
            large.push_back(i);
            continue;
        }
        small.push_back({i, static_cast<uint32_t>(c0), static_cast<uint32_t>(c1), static_cast<uint32_t>(r0), static_cast<uint32_t>(r1)});
        for (size_t r = r0; r <= r1; ++r)
            for (size_t c = c0; c <= c1; ++c) ++start_[c + columns_ * r + 1];
    }
    // A question reads the boxes of one cell, a cell asked about as often as it holds corners: the
    // sum of the squares of the cells' counts bounds the work of all questions.
    size_t work = 0;
    for (size_t k = 1; k < start_.size(); ++k) work += size_t{start_[k]} * start_[k];
    if (work > 16 * n) return false;
    for (size_t k = 1; k < start_.size(); ++k) start_[k] += start_[k - 1];
    filed_.resize(start_.back());
    Scratch<uint32_t> next;
    next.assign(start_.begin(), start_.end() - 1);
    for (const Cells& s : small)
        for (size_t r = s.r0; r <= s.r1; ++r)
            for (size_t c = s.c0; c <= s.c1; ++c) {
                filed_[next[c + columns_ * r]++] = s.id;
            }
    ids = std::move(large);
    return true;
}

}  // namespace ops
