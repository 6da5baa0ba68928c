// z and m for the vertices of a GEOS result. GEOS carries no m (and loses z in some operations),
// so a result vertex takes them from the input vertex at the same position; a vertex that no
// input has gets them interpolated along the input segment it lies on when the operation keeps
// the input's lines (densify, clip, cut), and NaN otherwise.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "model/geometry.h"
#include "ops/box_index.h"

namespace ops {

class VertexAttributes {
public:
    enum class NewVertices { Unknown, Interpolated };

    // Restores nothing: every m NaN, z as GEOS gave it.
    VertexAttributes() = default;

    // From the vertices of the inputs (curves as their chords).
    VertexAttributes(const std::vector<const model::Geometry*>& inputs, NewVertices new_vertices);

    // Sets z (where GEOS gave none) and m of the vertices of one result part: a point, a path, or a
    // ring as GEOS holds it (closed). A position that several input vertices share takes the first
    // of them (earlier inputs win), except where one input part passes it more than once: there the
    // result part is matched in order along that part, each passage taking the next one in the
    // direction the result runs (round a ring), so a path that comes back to a point, or a ring
    // touching itself, keeps what each passage had (z included, which GEOS's noding may have taken
    // from another passage).
    void restore(std::span<model::Vertex> part, bool ring) const;

private:
    // One input part's vertices in vertices_: [begin, end).
    struct Run {
        uint32_t begin, end;
        bool ring;
    };
    // The input vertices at one position: indices into vertices_, ascending.
    using Occurrences = std::span<const uint32_t>;
    // Where a walk along a result part stands in the input: 2 i at vertex i, 2 i + 1 on the segment
    // from vertex i; -1 nowhere yet.
    using Position = int64_t;
    struct Pick {
        uint32_t vertex;
        Position position;  // -1: the walk's position stays as it was
        bool passage;       // chosen among several passages of one input part
    };

    void add(const model::Geometry& g);
    void add_run(std::span<const model::Vertex> vertices, bool ring);
    void file_positions();
    void file_segments();

    // The slot holding v's position, or the free one where it would go.
    size_t slot_of(const model::Vertex& v) const;
    Occurrences occurrences(const model::Vertex& v) const;
    const Run& run_of(uint32_t vertex) const;
    Pick pick(Occurrences found, Position at, bool forward) const;
    // Gives each vertex of a result part (a ring without its closing vertex) what it alone tells: the
    // attributes of the one input vertex at its position, or those interpolated on the segment it
    // lies on, with where that certainly puts it in certain_. Whether any position is passed more
    // than once by the input.
    bool place_each(std::span<model::Vertex> part) const;
    // Whether the result, from its vertex `anchor` of certain place, runs the way its input part does.
    bool runs_forward(size_t anchor, bool ring) const;
    // The vertices at positions passed more than once, matched walking from the first vertex of
    // certain place (or the first vertex, when none is) in the direction the result runs.
    void match_passages(std::span<model::Vertex> part, bool ring) const;
    // The vertex attributes interpolated on the nearest input segment within the tolerance (the
    // first such segment on a tie), and where that segment starts; none when no segment is near.
    std::optional<std::pair<model::Vertex, Position>> interpolated(const model::Vertex& v) const;

    NewVertices new_vertices_ = NewVertices::Unknown;
    std::vector<model::Vertex> vertices_;  // every input vertex, part after part (rings not closed)
    std::vector<Run> runs_;
    // Positions filed by an open-addressing table of first occurrences; a position's occurrences
    // lie together in occurrences_, from occurrence_begin_[its number].
    // A slot: the upper half of the position's hash, which turns most other positions away without
    // reading their vertex, over its number + 1; 0 when free.
    std::vector<uint64_t> table_;
    std::vector<uint32_t> first_of_;
    std::vector<uint32_t> occurrence_begin_;
    std::vector<uint32_t> occurrences_;
    // The segments of the input (rings closed, zero-length ones left out), in input order, by the
    // indices of their ends in vertices_.
    struct Segment {
        uint32_t a, b;
    };
    std::vector<Segment> segments_;
    std::optional<BoxIndex> segment_boxes_;
    double scale_ = 0;  // the largest coordinate magnitude: sets the on-segment tolerance
    // Room for restore, kept from one result part to the next (a result has parts by the thousand).
    mutable std::vector<Occurrences> found_;
    mutable std::vector<Position> certain_;
};

}  // namespace ops
