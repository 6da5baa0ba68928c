// The vertex of a line farthest from the chord between two of its vertices, the question
// Douglas-Peucker asks once for every section it keeps. Distances are GEOS's point-to-segment
// distance, computed with the very same floating-point steps, so that every tie falls where it falls
// in GEOS. Asked naively the question costs the length of the section, and a zig-zag, whose every
// section ends next to its start, makes that quadratic; here boxes over runs of vertices bound the
// distance any vertex inside can measure, and a run that cannot beat the best found is passed over.
#pragma once

#include <cstddef>
#include <vector>

#include "model/elliptic_arc.h"

namespace ops {

class FarthestVertex {
public:
    explicit FarthestVertex(std::vector<model::XY> points);

    struct Found {
        size_t index;     // `i` when there is no vertex between
        double distance;  // -1 when there is no vertex between
    };

    // Of the vertices strictly between `i` and `j` (i < j), the first farthest from the segment
    // between them: a later vertex wins only by a greater distance, and a NaN distance never wins.
    Found between(size_t i, size_t j);

private:
    // The box of some vertices, and a disc about its centre holding them.
    struct Extent {
        double x0, y0, x1, y1;
        double cx, cy, radius;
    };
    // A box waiting to be opened: what its vertices may reach, which of them the section holds.
    struct Box {
        double top;
        size_t from, to;
        size_t level, index;
    };

    std::vector<model::XY> points_;
    // levels_[0] bounds runs of kRun vertices; each further level joins pairs of the one below.
    std::vector<std::vector<Extent>> levels_;
    std::vector<Box> open_;  // kept between calls for its room
};

}  // namespace ops
