// The events by which a reader reports a geometry. A reader stops at the first event that does
// not return an empty Status and hands that Status to its caller.
//
// `tagged` marks a line string or polygon that stands as a geometry of its own (top level or a
// member of a collection); rings and the members of multi geometries are untagged. `size` is the
// count the input claims and may be false for binary input; `idx` is the position in the parent.
// The begin and end events of curve and surface kinds are not reported: only their content is.
//
// The vertices of a line string, ring or circular string come as one `vertices` event over their
// raw coordinates, so that a processor may take them in one loop; by default it reports each
// vertex through `coordinate`, with `idx` its position in the run.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

#include "formats/error.h"

namespace formats {

// A double stored at `p` in the machine's byte order, or in the other one when `swapped`.
inline double load_double(const std::uint8_t* p, bool swapped) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return std::bit_cast<double>(swapped ? __builtin_bswap64(v) : v);
}

struct Vertex {
    double x, y;
    std::optional<double> z, m;
};

// `count` vertices stored one after another in memory the reader owns, each x, y, then z and m
// where present, 8 bytes each. Every byte of the run lies inside that memory: a reader never
// claims more vertices than it holds.
struct VertexRun {
    const std::uint8_t* data;
    std::size_t count;
    bool has_z, has_m;
    bool swapped;  // the doubles are in the other byte order than the machine's

    std::size_t dimensions() const { return 2 + has_z + has_m; }
    std::size_t vertex_bytes() const { return 8 * dimensions(); }
    Vertex at(std::size_t i) const;
};

class Processor {
public:
    virtual ~Processor() = default;

    virtual Status srid(std::optional<std::int32_t> srid) = 0;
    virtual Status coordinate(double x, double y, std::optional<double> z, std::optional<double> m,
                              std::size_t idx) = 0;
    // Stops at the first vertex whose event fails.
    virtual Status vertices(const VertexRun& run);
    virtual Status empty_point(std::size_t idx) = 0;
    virtual Status point_begin(std::size_t idx) = 0;
    virtual Status point_end(std::size_t idx) = 0;
    virtual Status linestring_begin(bool tagged, std::size_t size, std::size_t idx) = 0;
    virtual Status linestring_end(bool tagged, std::size_t idx) = 0;
    virtual Status polygon_begin(bool tagged, std::size_t size, std::size_t idx) = 0;
    virtual Status polygon_end(bool tagged, std::size_t idx) = 0;
    virtual Status multipoint_begin(std::size_t size, std::size_t idx) = 0;
    virtual Status multipoint_end(std::size_t idx) = 0;
    virtual Status multilinestring_begin(std::size_t size, std::size_t idx) = 0;
    virtual Status multilinestring_end(std::size_t idx) = 0;
    virtual Status multipolygon_begin(std::size_t size, std::size_t idx) = 0;
    virtual Status multipolygon_end(std::size_t idx) = 0;
    virtual Status geometrycollection_begin(std::size_t size, std::size_t idx) = 0;
    virtual Status geometrycollection_end(std::size_t idx) = 0;
};

}  // namespace formats
