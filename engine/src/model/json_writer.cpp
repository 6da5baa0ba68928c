#include <cmath>

#include <nlohmann/json.hpp>

#include "model/elliptic_arc.h"
#include "model/envelope.h"
#include "model/geometry_json.h"
#include "model/multipart.h"
#include "model/multipoint.h"
#include "model/point.h"

namespace model {
namespace {

using Json = nlohmann::ordered_json;

Json coordinates(const Vertex& v, Dims dims) {
    Json a = Json::array({v.x, v.y});
    if (dims.has_z) a.push_back(v.z);
    if (dims.has_m) a.push_back(v.m);
    return a;
}

Json xy(double x, double y) { return Json::array({x, y}); }

Json arc_element(const Json& end, const EllipticArc& arc) {
    const int clockwise = arc.central < 0 ? 1 : 0;
    if (arc.circular() && std::abs(arc.central) >= 2 * M_PI)
        return {{"a", Json::array({end, xy(arc.cx, arc.cy), 0, clockwise})}};
    if (arc.circular()) {
        const XY mid = point_at(arc, arc.start + arc.central / 2);
        return {{"c", Json::array({end, xy(mid.x, mid.y)})}};
    }
    return {{"a", Json::array({end, xy(arc.cx, arc.cy), arc.minor() ? 1 : 0, clockwise, arc.rotation,
                               arc.semi_major, arc.ratio})}};
}

Json element(const SegmentValue& s, Dims dims) {
    Json end = coordinates(s.end, dims);
    if (const auto* arc = std::get_if<EllipticArc>(&s.curve)) return arc_element(end, *arc);
    if (const auto* b = std::get_if<CubicBezier>(&s.curve))
        return {{"b", Json::array({end, xy(b->c1x, b->c1y), xy(b->c2x, b->c2y)})}};
    return end;
}

Json part_json(const Part& part, Dims dims) {
    Json a = Json::array();
    if (part.points.empty()) return a;
    a.push_back(coordinates(part.points.front(), dims));
    for (uint64_t i = 0; i < segment_count(part); ++i) a.push_back(element(segment_at(part, i), dims));
    return a;
}

void add_dims(Json& j, Dims dims) {
    if (dims.has_z) j["hasZ"] = true;
    if (dims.has_m) j["hasM"] = true;
}

Json multipart_json(const Multipart& g) {
    bool curves = false;
    for (const auto& p : g.parts) curves = curves || has_curves(p);
    Json parts = Json::array();
    for (const auto& p : g.parts) parts.push_back(part_json(p, g.dims));
    const char* key = g.rings() ? (curves ? "curveRings" : "rings") : (curves ? "curvePaths" : "paths");
    Json j = Json::object();
    add_dims(j, g.dims);
    j[key] = std::move(parts);
    return j;
}

Json multipoint_json(const Multipoint& g) {
    Json points = Json::array();
    for (const auto& v : g.points) points.push_back(coordinates(v, g.dims));
    Json j = Json::object();
    add_dims(j, g.dims);
    j["points"] = std::move(points);
    return j;
}

Json point_json(const Point& g) {
    Json j = {{"x", g.vertex.x}, {"y", g.vertex.y}};
    if (g.dims.has_z) j["z"] = g.vertex.z;
    if (g.dims.has_m) j["m"] = g.vertex.m;
    return j;
}

Json envelope_json(const Envelope& g) {
    Json j = {{"xmin", g.x.min}, {"ymin", g.y.min}, {"xmax", g.x.max}, {"ymax", g.y.max}};
    if (g.dims.has_z) {
        j["zmin"] = g.z.min;
        j["zmax"] = g.z.max;
    }
    if (g.dims.has_m) {
        j["mmin"] = g.m.min;
        j["mmax"] = g.m.max;
    }
    return j;
}

Json spatial_reference_json(const SpatialReferenceData& sr) {
    Json j = Json::object();
    if (const uint32_t wkid = wkid_of(sr); wkid != 0) {
        j["wkid"] = wkid;
        if (const uint32_t vertical = vertical_wkid_of(sr); vertical != 0) j["vcsWkid"] = vertical;
    } else {
        j["wkt"] = wktext_of(sr);
    }
    return j;
}

Json geometry_json(const Geometry& g) {
    switch (g.kind()) {
        case GeometryKind::Point:
            return point_json(static_cast<const Point&>(g));
        case GeometryKind::Envelope:
            return envelope_json(static_cast<const Envelope&>(g));
        case GeometryKind::Multipoint:
            return multipoint_json(static_cast<const Multipoint&>(g));
        case GeometryKind::Polyline:
        case GeometryKind::Polygon:
            return multipart_json(static_cast<const Multipart&>(g));
    }
    return Json::object();
}

}  // namespace

std::string to_json(const Geometry& geometry) {
    Json j = geometry_json(geometry);
    if (const auto& sr = geometry.spatial_reference()) j["spatialReference"] = spatial_reference_json(*sr);
    // Invalid UTF-8 in a well-known text must not make the writer fail.
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace model
