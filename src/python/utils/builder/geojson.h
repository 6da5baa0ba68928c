// Builds a GeoJSON geometry dictionary from reader events: {"type", "coordinates" or
// "geometries", "meta": {"srid"}, "crs": {"type": "name", "properties": {"name": "EPSG:<srid>"}}},
// every member of a collection a complete dictionary of its own.
#pragma once

#include "python/utils/builder/py_builder.h"

namespace vornix::utils::builder {

class GeoJsonPyBuilder final : public PyBuilder {
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
    formats::Status push_to_parent(binding::Ref object);
    formats::Status place(binding::Ref geometry);
    // {"type": type, member: value} with the spatial reference members.
    formats::Status geometry(const binding::Interned& type, const binding::Interned& member, binding::Ref value, binding::Ref& out);
    // Pops the list on top and places it as a geometry of `type`.
    formats::Status close_geometry(const binding::Interned& type, const binding::Interned& member);
    formats::Status close_part(bool tagged, const binding::Interned& type);
    formats::Status set_spatial_reference(PyObject* geometry, std::int32_t srid);
};

}  // namespace vornix::utils::builder
