// The events by which a reader reports a geometry. A reader stops at the first event that does
// not return an empty Status and hands that Status to its caller.
//
// `tagged` marks a line string or polygon that stands as a geometry of its own (top level or a
// member of a collection); rings and the members of multi geometries are untagged. `size` is the
// count the input claims and may be false for binary input; `idx` is the position in the parent.
// The begin and end events of curve and surface kinds are not reported: only their content is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "formats/error.h"

namespace vornix::utils::reader {

class Processor {
public:
    virtual ~Processor() = default;

    virtual Status srid(std::optional<std::int32_t> srid) = 0;
    virtual Status coordinate(double x, double y, std::optional<double> z, std::optional<double> m,
                              std::size_t idx) = 0;
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

}  // namespace vornix::utils::reader
