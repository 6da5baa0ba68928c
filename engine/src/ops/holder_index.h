// Which of many boxes hold a given box, in about constant time a question where the boxes spread
// evenly (parcels, holes, islands in holes): each small box is filed in the cells of a grid of
// about one cell a box that it covers, and any box holding a box covers the cell of its lower-left
// corner, so that cell's boxes are the only small candidates. Large boxes (a shell), and every box
// where the grid would crowd them into a few cells, go to a packed tree (ops/box_tree.h).
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "ops/box_tree.h"

namespace ops {

class HolderIndex {
public:
    // An index of the boxes `ids` picks out of `boxes`, which must outlive it.
    HolderIndex(const std::vector<Box>& boxes, std::vector<uint32_t> ids);

    // Calls f(i) for every box i of the index that holds b (b's own index among them).
    template <typename F>
    void holders_of(const Box& b, F f) const {
        if (!start_.empty()) {
            const size_t cell = column(b.xmin) + columns_ * row(b.ymin);
            for (uint32_t e = start_[cell]; e < start_[cell + 1]; ++e)
                if ((*boxes_)[filed_[e]].holds(b)) f(filed_[e]);
        }
        if (large_) large_->holders_of(b, f);
    }

private:
    // (Multiplied by the inverse of a cell's size: monotone in v, as the filing needs, and no
    // division per coordinate.)
    size_t column(double x) const { return cell_of(x, extent_.xmin, per_width_, columns_); }
    size_t row(double y) const { return cell_of(y, extent_.ymin, per_height_, rows_); }
    static size_t cell_of(double v, double low, double per_size, size_t count) {
        const double k = std::floor((v - low) * per_size);
        return !(k >= 0) ? 0 : k >= static_cast<double>(count) ? count - 1 : static_cast<size_t>(k);
    }

    // Files the boxes that cover few cells; false, with nothing filed, where the grid would crowd
    // them (boxes clustered in a corner of the extent) or the extent has no width or height.
    bool file(const std::vector<Box>& boxes, std::vector<uint32_t>& ids);

    const std::vector<Box>* boxes_;
    Box extent_;
    size_t columns_ = 0, rows_ = 0;
    double per_width_ = 1, per_height_ = 1;  // the inverses of a cell's width and height
    std::vector<uint32_t> start_;  // the boxes of cell k are filed_[start_[k] .. start_[k + 1])
    std::vector<uint32_t> filed_;
    std::optional<BoxTree> large_;
};

}  // namespace ops
