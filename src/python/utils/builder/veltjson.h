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

    formats::Status coordinate(double x, double y, std::optional<double> z, std::optional<double> m,
                              std::size_t idx) override;
    formats::Status vertices(const formats::VertexRun& run) override;
    formats::Status empty_point(std::size_t idx) override;
    formats::Status point_end(std::size_t idx) override;
    formats::Status linestring_begin(bool tagged, std::size_t size, std::size_t idx) override;
    formats::Status linestring_end(bool tagged, std::size_t idx) override;
    formats::Status polygon_begin(bool tagged, std::size_t size, std::size_t idx) override;
    formats::Status polygon_end(bool tagged, std::size_t idx) override;
    formats::Status multipoint_begin(std::size_t size, std::size_t idx) override;
    formats::Status multipoint_end(std::size_t idx) override;
    formats::Status multilinestring_begin(std::size_t size, std::size_t idx) override;
    formats::Status multilinestring_end(std::size_t idx) override;
    formats::Status multipolygon_begin(std::size_t size, std::size_t idx) override;
    formats::Status multipolygon_end(std::size_t idx) override;
    formats::Status geometrycollection_begin(std::size_t size, std::size_t idx) override;
    formats::Status geometrycollection_end(std::size_t idx) override;

private:
    // Which ring a polygon's next ring ending closes.
    enum class RingState : std::uint8_t { exterior, hole, none };
    // A dimension flag: unknown until the first vertex outside a point.
    enum class Flag : std::uint8_t { no, yes, unknown };

    formats::Status push_to_parent(binding::Ref object);
    formats::Status check_dimensions(bool has_z, bool has_m);
    formats::Status orient_ring(PyObject* ring);
    formats::Status add_dimensions(PyObject* geometry);
    formats::Status set_spatial_reference(PyObject* geometry);
    formats::Status finish_tagged(binding::Ref geometry);
    // Pops the list on top and finishes {member: list, "hasM", "hasZ", "spatialReference"}.
    formats::Status close_geometry(const binding::Interned& member);
    // {member: value, "hasM", "hasZ", "spatialReference"}, then finished.
    formats::Status finish_parts(const binding::Interned& member, binding::Ref value);

    RingState ring_state_ = RingState::none;
    Flag has_m_ = Flag::unknown;
    Flag has_z_ = Flag::unknown;
};

}  // namespace vornix::utils::builder
