// Builds a VeltJSON geometry dictionary from reader events: {"x", "y", "z", "m"} for a point,
// "points", "paths" or "rings" with "hasM" and "hasZ" for the others, and "spatialReference":
// {"wkid"}. All vertices of a geometry must have the same dimensions. Exterior rings come out
// clockwise and holes counter-clockwise; the rings of a multipolygon's members go into one flat
// list. Geometry collections have no VeltJSON form: they stop the call as "not implemented".
#pragma once

#include <cstdint>

#include "python/utils/builder/py_builder.h"

namespace vornix::utils::builder {

class VeltJsonPyBuilder final : public PyBuilder {
public:
    using PyBuilder::PyBuilder;

    reader::Status coordinate(double x, double y, std::optional<double> z, std::optional<double> m,
                              std::size_t idx) override;
    reader::Status vertices(const reader::VertexRun& run) override;
    reader::Status empty_point(std::size_t idx) override;
    reader::Status point_end(std::size_t idx) override;
    reader::Status linestring_begin(bool tagged, std::size_t size, std::size_t idx) override;
    reader::Status linestring_end(bool tagged, std::size_t idx) override;
    reader::Status polygon_begin(bool tagged, std::size_t size, std::size_t idx) override;
    reader::Status polygon_end(bool tagged, std::size_t idx) override;
    reader::Status multipoint_begin(std::size_t size, std::size_t idx) override;
    reader::Status multipoint_end(std::size_t idx) override;
    reader::Status multilinestring_begin(std::size_t size, std::size_t idx) override;
    reader::Status multilinestring_end(std::size_t idx) override;
    reader::Status multipolygon_begin(std::size_t size, std::size_t idx) override;
    reader::Status multipolygon_end(std::size_t idx) override;
    reader::Status geometrycollection_begin(std::size_t size, std::size_t idx) override;
    reader::Status geometrycollection_end(std::size_t idx) override;

private:
    // Which ring a polygon's next ring ending closes.
    enum class RingState : std::uint8_t { exterior, hole, none };
    // A dimension flag: unknown until the first vertex outside a point.
    enum class Flag : std::uint8_t { no, yes, unknown };

    reader::Status push_to_parent(binding::Ref object);
    reader::Status check_dimensions(bool has_z, bool has_m);
    reader::Status orient_ring(PyObject* ring);
    reader::Status add_dimensions(PyObject* geometry);
    reader::Status set_spatial_reference(PyObject* geometry);
    reader::Status finish_tagged(binding::Ref geometry);
    // Pops the list on top and finishes {member: list, "hasM", "hasZ", "spatialReference"}.
    reader::Status close_geometry(PyObject* member);
    // {member: value, "hasM", "hasZ", "spatialReference"}, then finished.
    reader::Status finish_parts(PyObject* member, binding::Ref value);

    RingState ring_state_ = RingState::none;
    Flag has_m_ = Flag::unknown;
    Flag has_z_ = Flag::unknown;
};

}  // namespace vornix::utils::builder
