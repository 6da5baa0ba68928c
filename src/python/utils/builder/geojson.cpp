#include "python/utils/builder/geojson.h"

#include <charconv>

#include "python/utils/builder/keys.h"
#include "python/utils/builder/objects.h"

namespace vornix::utils::builder {

using binding::Ref;
using formats::Status;

namespace {

// The display text of an IndexError "empty stack": a vertex or part with no list to go into.
constexpr std::string_view no_parent_text = "IndexError: empty stack";

Ref epsg_name(std::int32_t srid) {
    char text[16] = "EPSG:";
    const auto end = std::to_chars(text + 5, text + sizeof text, srid).ptr;
    return created(PyUnicode_FromStringAndSize(text, end - text));
}

}  // namespace

Status GeoJsonPyBuilder::push_to_parent(Ref object) { return stack_.push_to_parent(std::move(object), no_parent_text); }

Status GeoJsonPyBuilder::place(Ref geometry) {
    if (stack_.empty()) {
        stack_.push(std::move(geometry));
        return {};
    }
    return push_to_parent(std::move(geometry));
}

Status GeoJsonPyBuilder::set_spatial_reference(PyObject* geometry, std::int32_t srid) {
    Ref meta = created(PyDict_New());
    if (auto s = set_item(meta.get(), keys::srid, created(PyLong_FromLong(srid))); !s) return s;
    Ref properties = created(PyDict_New());
    if (auto s = set_item(properties.get(), keys::name, epsg_name(srid)); !s) return s;
    Ref crs = created(PyDict_New());
    if (auto s = set_item(crs.get(), keys::type, Ref::borrow(created(keys::name))); !s) return s;
    if (auto s = set_item(crs.get(), keys::properties, std::move(properties)); !s) return s;
    if (auto s = set_item(geometry, keys::meta, std::move(meta)); !s) return s;
    return set_item(geometry, keys::crs, std::move(crs));
}

Status GeoJsonPyBuilder::geometry(const binding::Interned& type, const binding::Interned& member, Ref value, Ref& out) {
    out = created(PyDict_New());
    if (auto s = set_item(out.get(), keys::type, Ref::borrow(created(type))); !s) return s;
    if (auto s = set_item(out.get(), member, std::move(value)); !s) return s;
    if (srid_) return set_spatial_reference(out.get(), *srid_);
    return {};
}

Status GeoJsonPyBuilder::close_geometry(const binding::Interned& type, const binding::Interned& member) {
    Ref list, d;
    if (auto s = stack_.pop(list); !s) return s;
    if (auto s = geometry(type, member, std::move(list), d); !s) return s;
    return place(std::move(d));
}

Status GeoJsonPyBuilder::close_part(bool tagged, const binding::Interned& type) {
    if (tagged) return close_geometry(type, keys::coordinates);
    Ref list;
    if (auto s = stack_.pop(list); !s) return s;
    return push_to_parent(std::move(list));
}

Status GeoJsonPyBuilder::coordinate(double x, double y, std::optional<double> z, std::optional<double> m,
                                    std::size_t) {
    Ref tuple = vertex_tuple(x, y, z, m);
    if (point_mode_) {
        stack_.push(std::move(tuple));
        return {};
    }
    return push_to_parent(std::move(tuple));
}

// As `coordinate` would, vertex by vertex, outside a point.
Status GeoJsonPyBuilder::vertices(const formats::VertexRun& run) {
    if (point_mode_) return Processor::vertices(run);
    return stack_.push_vertices_to_parent(run, no_parent_text);
}

Status GeoJsonPyBuilder::empty_point(std::size_t idx) {
    Ref d;
    if (auto s = geometry(keys::Point, keys::coordinates, created(PyList_New(0)), d); !s) return s;
    if (idx != 0 || !stack_.empty()) return push_to_parent(std::move(d));
    stack_.push(std::move(d));
    return {};
}

Status GeoJsonPyBuilder::point_end(std::size_t) {
    point_mode_ = false;
    return close_geometry(keys::Point, keys::coordinates);
}

Status GeoJsonPyBuilder::linestring_begin(bool, std::size_t, std::size_t) { return open_list(); }
Status GeoJsonPyBuilder::linestring_end(bool tagged, std::size_t) { return close_part(tagged, keys::LineString); }
Status GeoJsonPyBuilder::polygon_begin(bool, std::size_t, std::size_t) { return open_list(); }
Status GeoJsonPyBuilder::polygon_end(bool tagged, std::size_t) { return close_part(tagged, keys::Polygon); }
Status GeoJsonPyBuilder::multipoint_begin(std::size_t, std::size_t) { return open_list(); }
Status GeoJsonPyBuilder::multipoint_end(std::size_t) { return close_geometry(keys::MultiPoint, keys::coordinates); }
Status GeoJsonPyBuilder::multilinestring_begin(std::size_t, std::size_t) { return open_list(); }
Status GeoJsonPyBuilder::multilinestring_end(std::size_t) {
    return close_geometry(keys::MultiLineString, keys::coordinates);
}
Status GeoJsonPyBuilder::multipolygon_begin(std::size_t, std::size_t) { return open_list(); }
Status GeoJsonPyBuilder::multipolygon_end(std::size_t) { return close_geometry(keys::MultiPolygon, keys::coordinates); }
Status GeoJsonPyBuilder::geometrycollection_begin(std::size_t, std::size_t) { return open_list(); }
Status GeoJsonPyBuilder::geometrycollection_end(std::size_t) {
    return close_geometry(keys::GeometryCollection, keys::geometries);
}

}  // namespace vornix::utils::builder
