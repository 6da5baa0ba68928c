// An axis-parallel box by its x and y ranges, as the planar checks and the projection of envelopes
// read and return it.
#pragma once

namespace ops {

struct Bounds {
    double xmin, ymin, xmax, ymax;
};

}  // namespace ops
