// Which side of a cutter (a polyline, in the direction of its paths) a point lies on, judged at
// the cutter's nearest point: where that point is a vertex joining two segments, the turn there
// decides (after a left turn the left side is the wedge left of both segments, after a right turn
// everything left of either). Every side is an exact orientation test.
//
// Asked once for every piece a cut makes, the question would cost the cutter's length each time,
// and a long cutter crossing a part many times makes that quadratic; here boxes over runs of
// segments bound the distance any segment inside can measure, and a run that cannot come nearer
// than the nearest found is passed over. The answer is the scan's: the first segment, in the
// cutter's order, at the least distance.
#pragma once

#include <cstddef>
#include <vector>

#include "model/vertex.h"

namespace ops {

enum class Side { Left, Right, On };

class CutterSides {
public:
    // The cutter's paths, each of two vertices or more (rings closed).
    explicit CutterSides(std::vector<std::vector<model::Vertex>> paths);

    Side side_of(double x, double y) const;

private:
    struct Segment {
        size_t path, index;  // from paths_[path][index] to the vertex after it
    };
    struct Box {
        double x0, y0, x1, y1;
    };
    struct Nearest {
        size_t segment;
        double along;  // where the nearest point lies on it: 0 at its start, 1 at its end
    };

    // The first segment at the least distance from (x, y); none (segments_.size()) when no
    // segment measures a distance.
    Nearest nearest(double x, double y) const;
    Side side_at(const Nearest& n, double x, double y) const;

    std::vector<std::vector<model::Vertex>> paths_;
    std::vector<Segment> segments_;  // in the cutter's order, those of no length left out
    // levels_[0] bounds runs of segments; each further level joins runs of the boxes below.
    std::vector<std::vector<Box>> levels_;
    double slack_ = 0;  // what rounding may take off a distance, against the bound of its box
};

}  // namespace ops
