// Which side of some paths (a cutter, in the direction of its paths; or a polygon's rings) a
// point lies on, judged at the paths' nearest point: where that point is a vertex joining two
// segments, the turn there decides (after a left turn the left side is the wedge left of both
// segments, after a right turn everything left of either). Every side is an exact orientation
// test.
//
// Asked once for every piece a cut makes, the question would cost the paths' length each time,
// and a long cutter crossing a part many times makes that quadratic; here boxes over runs of
// segments bound the distance any segment inside can measure, and a run that cannot come nearer
// than the nearest found is passed over. The answer is the scan's: the first segment, in the
// paths' order, at the least distance.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "model/vertex.h"

namespace ops {

enum class Side { Left, Right, On };

class PathSides {
public:
    // Open paths end at their ends; closed ones (rings, first vertex repeated last) turn there.
    enum class Ends { Open, Closed };

    // The paths, each of two vertices or more.
    explicit PathSides(std::vector<std::vector<model::Vertex>> paths, Ends ends = Ends::Open);

    Side side_of(double x, double y) const;

    // The side of (x, y) where the nearest point settles it whatever the roundings of the
    // distances: no other segment comes within their error of it (at a vertex, none but the
    // two meeting there), and (x, y) lies off the paths. Rings that do not cross and hold a
    // region on their right hold (x, y) exactly when this is Right. None where it is not settled.
    std::optional<Side> certain_side_of(double x, double y) const;

private:
    struct Segment {
        size_t path, index;  // from paths_[path][index] to the vertex after it
    };
    struct Box {
        double x0, y0, x1, y1;
    };
    struct Nearest {
        size_t segment;
        double along;     // where the nearest point lies on it: 0 at its start, 1 at its end
        double distance;  // infinite when none
    };

    // Calls `visit(s, distance, along)` for segments in boxes not farther than `reach()`, nearest
    // boxes first.
    template <typename Visit, typename Reach>
    void search(double x, double y, Visit visit, Reach reach) const;

    // The first segment at the least distance from (x, y); none (segments_.size()) when no
    // segment measures a distance.
    Nearest nearest(double x, double y) const;
    // The vertices about the nearest point where it is a vertex joining two segments.
    struct Joint {
        const model::Vertex *previous, *vertex, *next;
    };
    std::optional<Joint> joint_at(const Nearest& n) const;
    Side side_at(const Nearest& n, double x, double y) const;
    const model::Vertex& start(size_t segment) const;
    const model::Vertex& end(size_t segment) const;

    std::vector<std::vector<model::Vertex>> paths_;
    Ends ends_;
    std::vector<Segment> segments_;  // in the paths' order, those of no length left out
    // levels_[0] bounds runs of segments; each further level joins runs of the boxes below.
    std::vector<std::vector<Box>> levels_;
    double scale_ = 0;  // the largest coordinate magnitude
    double slack(double x, double y) const;  // what rounding may take off a distance near (x, y)
};

}  // namespace ops
