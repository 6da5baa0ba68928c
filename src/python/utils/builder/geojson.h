// Builds a GeoJSON geometry dictionary from reader events: {"type", "coordinates" or
// "geometries", "meta": {"srid"}, "crs": {"type": "name", "properties": {"name": "EPSG:<srid>"}}},
// every member of a collection a complete dictionary of its own.
#pragma once

#include "python/utils/builder/py_builder.h"

namespace vornix::utils::builder {

class GeoJsonPyBuilder final : public PyBuilder {
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
    reader::Status push_to_parent(binding::Ref object);
    reader::Status place(binding::Ref geometry);
    // {"type": type, member: value} with the spatial reference members.
    reader::Status geometry(PyObject* type, PyObject* member, binding::Ref value, binding::Ref& out);
    // Pops the list on top and places it as a geometry of `type`.
    reader::Status close_geometry(PyObject* type, PyObject* member);
    reader::Status close_part(bool tagged, PyObject* type);
    reader::Status set_spatial_reference(PyObject* geometry, std::int32_t srid);
};

}  // namespace vornix::utils::builder
