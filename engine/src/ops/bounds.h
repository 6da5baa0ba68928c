// An axis-parallel box by its x and y ranges, as the planar checks and the projection of envelopes
// read and return it, and as the indexes of rings and segments file them (ops/box_tree.h). A box
// made without bounds holds nothing: joined to another, it gives the other.
#pragma once

#include <algorithm>
#include <cmath>

namespace ops {

struct Bounds {
    double xmin = INFINITY, ymin = INFINITY, xmax = -INFINITY, ymax = -INFINITY;
    // (Every comparison made, without a branch: the indexes ask these of many boxes at once.)
    bool holds(const Bounds& o) const { return (xmin <= o.xmin) & (ymin <= o.ymin) & (xmax >= o.xmax) & (ymax >= o.ymax); }
    // Whether the two share area: boxes that only touch along an edge or at a corner do not.
    bool overlaps(const Bounds& o) const { return (xmin < o.xmax) & (o.xmin < xmax) & (ymin < o.ymax) & (o.ymin < ymax); }
    void join(const Bounds& o) {
        xmin = std::min(xmin, o.xmin), ymin = std::min(ymin, o.ymin);
        xmax = std::max(xmax, o.xmax), ymax = std::max(ymax, o.ymax);
    }
    double magnitude() const { return std::max({std::abs(xmin), std::abs(xmax), std::abs(ymin), std::abs(ymax)}); }
};

// The box of the boxes first .. last (a node of a packed tree over them).
inline Bounds joined(const Bounds* first, const Bounds* last) {
    Bounds out;
    for (; first != last; ++first) out.join(*first);
    return out;
}

}  // namespace ops
