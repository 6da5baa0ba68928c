// z and m for the vertices of a GEOS result. GEOS carries no m (and loses z in some operations),
// so a result vertex takes them from the input vertex at the same position; a vertex that no
// input has gets them interpolated along the input segment it lies on when the operation keeps
// the input's lines (densify, clip, cut), and NaN otherwise.
#pragma once

#include <unordered_map>
#include <vector>

#include "model/geometry.h"

namespace ops {

class VertexAttributes {
public:
    enum class NewVertices { Unknown, Interpolated };

    explicit VertexAttributes(NewVertices new_vertices = NewVertices::Unknown) : new_vertices_(new_vertices) {}

    // Takes the vertices (curves as their chords) of one input; earlier inputs win a tie.
    void add(const model::Geometry& g);

    // Sets z (where GEOS gave none) and m of a result vertex.
    void restore(model::Vertex& v) const;

private:
    struct Key {
        double x, y;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const;
    };
    void add_vertex(const model::Vertex& v);
    bool interpolate(model::Vertex& v) const;

    NewVertices new_vertices_;
    std::unordered_map<Key, model::Vertex, KeyHash> by_position_;
    std::vector<std::vector<model::Vertex>> lines_;  // rings closed
    double scale_ = 0;  // the largest coordinate magnitude: sets the on-segment tolerance
};

}  // namespace ops
