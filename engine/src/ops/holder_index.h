// Which of many boxes hold a given box, in about constant time a question where the boxes spread
// evenly (parcels, holes, islands in holes): each small box is filed in the cells of a grid of
// about one cell a box that it covers, and any box holding a box covers the cell of its lower-left
// corner, so that cell's boxes are the only small candidates. Large boxes (a shell), and every box
// where the grid would crowd them into a few cells, go to a packed tree (ops/box_tree.h).
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "ops/box_tree.h"

namespace ops {

class HolderIndex {
public:
    // An index of the boxes `ids` picks out of `boxes`, which must outlive it.
    HolderIndex(const std::vector<Bounds>& boxes, Scratch<uint32_t> ids);

    // The boxes of the index that hold b (b's own index among them), one at a time: the filed ones
    // of b's corner's cell, then the large ones.
    class Holders {
    public:
        Holders(const HolderIndex& index, const Bounds& b) : index_(index), b_(b), large_(index.large_, HoldsBox{b}) {
            if (!index.start_.empty()) {
                const size_t cell = index.column(b.xmin) + index.columns_ * index.row(b.ymin);
                next_ = index.start_[cell], end_ = index.start_[cell + 1];
            }
        }

        // The next box holding b, into `id`; false once there is none.
        bool next(uint32_t& id) {
            while (next_ < end_)
                if (const uint32_t j = index_.filed_[next_++]; (*index_.boxes_)[j].holds(b_)) {
                    id = j;
                    return true;
                }
            return large_.next(id);
        }

    private:
        const HolderIndex& index_;
        Bounds b_;
        uint32_t next_ = 0, end_ = 0;
        BoxTree::Walk<HoldsBox> large_;
    };

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
    bool file(const std::vector<Bounds>& boxes, Scratch<uint32_t>& ids);

    const std::vector<Bounds>* boxes_;
    Bounds extent_;
    size_t columns_ = 0, rows_ = 0;
    double per_width_ = 1, per_height_ = 1;  // the inverses of a cell's width and height
    Scratch<uint32_t> start_;  // the boxes of cell k are filed_[start_[k] .. start_[k + 1])
    Scratch<uint32_t> filed_;
    BoxTree large_;  // the boxes not filed
};

}  // namespace ops
