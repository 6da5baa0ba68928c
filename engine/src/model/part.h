// A path or a ring: its vertices and the shape of each segment. A path of n vertices has n - 1
// segments, segment i running from vertex i to vertex i + 1. A ring is stored without repeating
// its first vertex and has n segments: the last one, the closing segment, runs from vertex
// n - 1 back to vertex 0.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "model/curve.h"

namespace model {

struct Part {
    std::vector<Vertex> points;
    // The curved segments alone, by segment index in increasing order: most parts are straight,
    // and a straight segment then costs nothing beyond its end vertex.
    std::vector<std::pair<uint64_t, Curve>> curves;
    bool ring = false;
    Dims dims;  // what the vertices added to the part carried
};

inline void add_point(Part& part, const Vertex& v, Dims dims) {
    part.points.push_back(v);
    part.dims |= dims;
}

// Appends a segment that starts at the part's last vertex (on an empty part its start vertex is
// added first); a segment that starts elsewhere is refused with an engine error.
void add_segment(Part& part, const SegmentValue& segment, Dims dims);

// Turns a path into a ring: a last vertex equal to the first (same_xy) is merged into it, so the
// last segment becomes the closing one; otherwise a straight closing segment is implied.
void close_ring(Part& part);

// Runs a ring the other way round from the same first vertex: vertex k becomes vertex n - k, and
// the segment from vertex i to i + 1 becomes segment n - 1 - i, its curve reversed. A ring of one
// vertex is left as it is.
void reverse_ring(Part& ring);

bool has_curves(const Part& part);
uint64_t segment_count(const Part& part);

// The segment at `index` with its two end vertices; throws for an index out of range.
SegmentValue segment_at(const Part& part, uint64_t index);

// The segment that ends at vertex `point`: -1 for vertex 0 of a path, the closing segment for
// vertex 0 of a ring; throws for a vertex out of range.
int64_t segment_ending_at(const Part& part, uint64_t point);

}  // namespace model
