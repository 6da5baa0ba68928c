// The engine's JSON text is written without a document tree; the text must stay byte for byte what
// the tree-based writer it replaced produced, kept here as the reference.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine_test.h"
#include "model/elliptic_arc.h"
#include "model/envelope.h"
#include "model/geometry_json.h"
#include "model/multipart.h"
#include "model/multipoint.h"
#include "model/point.h"
#include "model/proj_context.h"
#include "model/spatial_reference_data.h"

namespace {

// The tree-based writer, as it stood.
namespace reference {

using namespace model;
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


std::string to_json(const Geometry& geometry) {
    Json j = geometry_json(geometry);
    if (const auto& sr = geometry.spatial_reference()) j["spatialReference"] = spatial_reference_json(*sr);
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace reference

using engine_test::EngineTest;
using JsonWriter = EngineTest;

const char* const kGeometries[] = {
    R"({"x":1,"y":2})",
    R"({"x":0.1,"y":-2.5e-7,"z":1e300})",
    R"({"x":-0.0,"y":123456789.123456789,"m":null})",
    R"({"x":1,"y":2,"z":null,"m":4})",
    R"({"x":null,"y":null})",
    R"({"xmin":1,"ymin":2,"xmax":3,"ymax":4})",
    R"({"xmin":1,"ymin":2,"xmax":3,"ymax":4,"zmin":5,"zmax":6,"mmin":7,"mmax":8})",
    R"({"xmin":null,"ymin":null,"xmax":null,"ymax":null,"mmin":null,"mmax":null})",
    R"({"points":[]})",
    R"({"hasZ":true,"hasM":true,"points":[[1,2,3,4],[5,6,7],[1e-300,2e22]]})",
    R"({"paths":[]})",
    R"({"hasM":true,"paths":[[[1,2,4],[3,4,null]],[]]})",
    R"({"paths":[[[0,0],[1,1],[2,0.5]],[[5,5],[6,6]]]})",
    R"({"curvePaths":[[[0,0],{"c":[[2,0],[1,1]]},{"b":[[3,1],[2.5,0],[3,0.5]]},
        {"a":[[5,1],[4,1],0,1,0,1,0.5]},{"a":[[6,0],[6,1],1,0]},[7,0]]]})",
    R"({"hasZ":true,"curvePaths":[[[0,0,1],{"a":[[4,0,2],[2,0],1,0,0.3,2.5,0.4]}],[[9,9,9],[10,10,10]]]})",
    R"({"rings":[]})",
    R"({"hasZ":true,"rings":[[[0,0,1],[1,0,2],[1,1,3]],[[5,5,0],[6,5,0],[6,6,0],[5,5,0]]]})",
    R"({"hasZ":true,"hasM":true,"curveRings":[[[0,0,1,2],[2,0,3,4],{"c":[[0,0,5,6],[1,-1]]}]]})",
    R"({"curveRings":[[[1,0],{"a":[[1,0],[0,0],0,1]}]],"hasM":false})",
    R"({"curveRings":[[[0,0],{"b":[[4,0],[1,2],[3,-2]]},[4,4],{"a":[[0,0],[2,2],0,0,0.7,3,0.6]}]]})",
};

// Values the JSON reader cannot make: infinities and a text that is not valid UTF-8.
std::vector<std::unique_ptr<model::Geometry>> made_directly() {
    std::vector<std::unique_ptr<model::Geometry>> made;
    const double inf = std::numeric_limits<double>::infinity();
    made.push_back(std::make_unique<model::Point>(model::Vertex{inf, -inf, NAN, 1.5}, model::Dims{true, true}));
    return made;
}

std::vector<model::SpatialReferencePtr> spatial_references() {
    return {
        nullptr,
        model::spatial_reference_from_wkid(4326),
        model::spatial_reference_from_wkid_and_vertical(4326, 5773),
        model::spatial_reference_from_wktext(
            "GEOGCS[\"Custom\",DATUM[\"Custom datum\",SPHEROID[\"Custom sphere\",6370000,0]],"
            "PRIMEM[\"Greenwich\",0],UNIT[\"degree\",0.0174532925199433]]"),
        std::make_shared<const model::SpatialReferenceData>(
            model::proj::ObjectPtr{}, 0, 0, std::string("LOCAL_CS[\"bad \xff\xc3 \\ \"q\" \x01 \xc3\xa9\"]")),
    };
}

TEST_F(JsonWriter, TextIsWhatTheTreeWriterWrote) {
    std::vector<std::unique_ptr<model::Geometry>> geometries = made_directly();
    for (const char* text : kGeometries) geometries.push_back(model::from_json(text));
    for (const auto& sr : spatial_references()) {
        for (const auto& g : geometries) {
            g->set_spatial_reference(sr);
            const std::string expected = reference::to_json(*g);
            SCOPED_TRACE(expected);
            EXPECT_EQ(model::to_json(*g), expected);
        }
    }
}

TEST_F(JsonWriter, InvalidUtf8InAWellKnownTextIsReplaced) {
    auto g = model::from_json(R"({"points":[]})");
    g->set_spatial_reference(spatial_references().back());
    EXPECT_EQ(model::to_json(*g),
              "{\"points\":[],\"spatialReference\":{\"wkt\":\"LOCAL_CS[\\\"bad \xef\xbf\xbd\xef\xbf\xbd \\\\ "
              "\\\"q\\\" \\u0001 \xc3\xa9\\\"]\"}}");
}

}  // namespace
