// The engine's JSON text: every kind round-trips with z, m and curves; NaN travels as null; rings
// are written closed; text that is no geometry, or too deep or too large, is an engine error.
#include <nlohmann/json.hpp>

#include "engine_test.h"

namespace engine_test {
namespace {

using JsonTest = EngineTest;
using nlohmann::json;

void expect_close(const json& actual, const json& expected, const std::string& path = "") {
    if (expected.is_number() && actual.is_number()) {
        EXPECT_NEAR(actual.get<double>(), expected.get<double>(), 1e-12) << path;
        return;
    }
    ASSERT_EQ(actual.type(), expected.type()) << path << ": " << actual.dump() << " vs " << expected.dump();
    if (expected.is_array()) {
        ASSERT_EQ(actual.size(), expected.size()) << path;
        for (size_t i = 0; i < expected.size(); ++i) expect_close(actual[i], expected[i], path + "/" + std::to_string(i));
    } else if (expected.is_object()) {
        ASSERT_EQ(actual.size(), expected.size()) << path << ": " << actual.dump();
        for (const auto& [key, value] : expected.items()) {
            ASSERT_TRUE(actual.contains(key)) << path << "/" << key;
            expect_close(actual[key], value, path + "/" + key);
        }
    } else {
        EXPECT_EQ(actual, expected) << path;
    }
}

struct RoundTrip {
    const char* input;
    int32_t kind;
    const char* written;  // the engine's text, compared with a tolerance where curves are rebuilt
};

const RoundTrip kRoundTrips[] = {
    {R"({"x": 1, "y": 2})", 1, R"({"x":1.0,"y":2.0})"},
    {R"({"x":1,"y":2,"z":3,"m":4})", 1, R"({"x":1.0,"y":2.0,"z":3.0,"m":4.0})"},
    {R"({"x":1,"y":2,"m":null})", 1, R"({"x":1.0,"y":2.0,"m":null})"},
    {R"({"x":null,"y":7})", 1, R"({"x":null,"y":null})"},
    {R"({"xmin":1,"ymin":2,"xmax":3,"ymax":4,"zmin":5,"zmax":6,"mmin":7,"mmax":8})", 2,
     R"({"xmin":1.0,"ymin":2.0,"xmax":3.0,"ymax":4.0,"zmin":5.0,"zmax":6.0,"mmin":7.0,"mmax":8.0})"},
    {R"({"xmin":null,"ymin":null,"xmax":null,"ymax":null})", 2, R"({"xmin":null,"ymin":null,"xmax":null,"ymax":null})"},
    {R"({"hasZ":true,"hasM":true,"points":[[1,2,3,4],[5,6,7]]})", 5,
     R"({"hasZ":true,"hasM":true,"points":[[1.0,2.0,3.0,4.0],[5.0,6.0,7.0,null]]})"},
    {R"({"hasM":true,"paths":[[[1,2,4],[3,4,null]],[]]})", 3, R"({"hasM":true,"paths":[[[1.0,2.0,4.0],[3.0,4.0,null]],[]]})"},
    {R"({"hasZ":true,"rings":[[[0,0,1],[1,0,2],[1,1,3]]]})", 4,
     R"({"hasZ":true,"rings":[[[0.0,0.0,1.0],[1.0,0.0,2.0],[1.0,1.0,3.0],[0.0,0.0,1.0]]]})"},
    {R"({"paths":[[[0,0],[1,1]]],"curvePaths":[[[0,0],{"c":[[2,0],[1,1]]},{"b":[[3,1],[2.5,0],[3,0.5]]},
        {"a":[[5,1],[4,1],0,1,0,1,0.5]},{"a":[[6,0],[6,1],1,0]},[7,0]]]})",
     3,
     R"({"curvePaths":[[[0.0,0.0],{"c":[[2.0,0.0],[1.0,1.0]]},{"b":[[3.0,1.0],[2.5,0.0],[3.0,0.5]]},
        {"a":[[5.0,1.0],[4.0,1.0],0,1,0.0,1.0,0.5]},{"c":[[6.0,0.0],[5.292893218813452,0.2928932188134524]]},[7.0,0.0]]]})"},
    {R"({"hasZ":true,"hasM":true,"curveRings":[[[0,0,1,2],[2,0,3,4],{"c":[[0,0,5,6],[1,-1]]}]]})", 4,
     R"({"hasZ":true,"hasM":true,"curveRings":[[[0.0,0.0,1.0,2.0],[2.0,0.0,3.0,4.0],{"c":[[0.0,0.0,1.0,2.0],[1.0,-1.0]]}]]})"},
    {R"({"curveRings":[[[1,0],{"a":[[1,0],[0,0],0,1]}]]})", 4, R"({"curveRings":[[[1.0,0.0],{"a":[[1.0,0.0],[0.0,0.0],0,1]}]]})"},
};

TEST_F(JsonTest, EveryKindRoundTripsWithZMAndCurves) {
    for (const auto& c : kRoundTrips) {
        SCOPED_TRACE(c.input);
        Geometry g = from_json(c.input);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(KX_Geometry_getObjectType(g.get(), ok()), c.kind);
        const std::string written = to_json(g.get());
        expect_close(json::parse(written), json::parse(c.written));
        Geometry again = from_json(written);
        expect_close(json::parse(to_json(again.get())), json::parse(written));
    }
}

TEST_F(JsonTest, PlainTextIsWrittenCompactAndExactly) {
    Geometry g = from_json(R"({"hasZ": true, "paths": [[[0.1, -2.5e-7, 1e300], [1, 2]]]})");
    EXPECT_EQ(to_json(g.get()), R"({"hasZ":true,"paths":[[[0.1,-2.5e-07,1e+300],[1.0,2.0,null]]]})");
}

TEST_F(JsonTest, CurvedClosingSegmentBecomesTheRingsClosingSegment) {
    Geometry g = from_json(R"({"curveRings":[[[0,0],[2,0],{"c":[[0,0],[1,-1]]}],[[5,5],[6,5],[6,6],[5,5]]]})");
    ImmutablePart ring = part_of(g.get(), 0);
    EXPECT_EQ(KX_ImmutablePart_getPointCount(ring.get(), ok()), 2u);
    EXPECT_EQ(KX_ImmutablePart_getSegmentIndexFromEndPointIndex(ring.get(), 0, ok()), 1);
    Segment closing(KX_ImmutablePart_getSegment(ring.get(), 1, ok()));
    EXPECT_EQ(KX_Segment_getObjectType(closing.get(), ok()), KX_SEGMENT_TYPE_ELLIPTIC_ARC);
    ImmutablePart straight = part_of(g.get(), 1);
    EXPECT_EQ(KX_ImmutablePart_getPointCount(straight.get(), ok()), 3u);
    EXPECT_EQ(KX_ImmutablePart_getHasCurves(straight.get(), ok()), 0);
}

struct Refused {
    std::string text;
    int32_t code;
    const char* message;
};

TEST_F(JsonTest, TextThatIsNoGeometryIsAnEngineError) {
    const Refused cases[] = {
        {"", KX_ERROR_JSON, "Text is not valid JSON."},
        {"{\"x\":1,", KX_ERROR_JSON, "Text is not valid JSON."},
        {"{\"x\":1,\"y\":2} trailing", KX_ERROR_JSON, "Text is not valid JSON."},
        {"\xff", KX_ERROR_JSON, "Text is not valid JSON."},
        {"null", KX_ERROR_JSON, "JSON text is not a geometry."},
        {"[1,2]", KX_ERROR_JSON, "JSON text is not a geometry."},
        {"{\"y\":1}", KX_ERROR_JSON, "JSON text is not a geometry."},
        {"{\"x\":\"1\",\"y\":2}", KX_ERROR_JSON, "JSON geometry: x must be a number or null."},
        {"{\"x\":1}", KX_ERROR_JSON, "JSON geometry: \"y\" is missing."},
        {"{\"xmin\":1,\"ymin\":2,\"xmax\":3}", KX_ERROR_JSON, "JSON geometry: \"ymax\" is missing."},
        {"{\"paths\":5}", KX_ERROR_JSON, "JSON geometry: paths must be a list."},
        {"{\"paths\":[[[0]]]}", KX_ERROR_JSON, "JSON geometry: a coordinate must be a list of at least two numbers."},
        {"{\"hasZ\":1,\"points\":[]}", KX_ERROR_JSON, "JSON geometry: \"hasZ\" must be true or false."},
        {"{\"curvePaths\":[[{\"c\":[[1,1],[0,0]]}]]}", KX_ERROR_JSON, "JSON geometry: a part must start with a point, not a curve."},
        {"{\"curvePaths\":[[[0,0],{\"q\":[[1,1]]}]]}", KX_ERROR_JSON,
         "JSON geometry: a curve element needs a \"c\", \"a\" or \"b\" member with its end point."},
        {"{\"curvePaths\":[[[0,0],{\"a\":[[1,1],[0,1],0]}]]}", KX_ERROR_JSON,
         "JSON geometry: \"a\" must be [end, centre, minor, clockwise] or add rotation, axis and ratio."},
        {"{\"curvePaths\":[[[0,0],{\"c\":[[2,0],[1,0]]}]]}", KX_ERROR_GEOMETRY, "The three points of a circular arc must not lie on one line."},
        {"{\"points\":[],\"spatialReference\":5}", KX_ERROR_JSON, "JSON geometry: \"spatialReference\" must be an object."},
        {std::string(100000, '['), KX_ERROR_JSON, "JSON text is nested too deeply."},
        {"{\"x\":1,\"y\":2,\"n\":" + std::string(33, '[') + std::string(33, ']') + "}", KX_ERROR_JSON, "JSON text is nested too deeply."},
        {std::string(64u << 20, ' ') + "{\"x\":1,\"y\":2}", KX_ERROR_JSON, "JSON text is too large."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        Errors errors;
        KX_GeometryHandle g = KX_Geometry_fromJSON(c.text.c_str(), errors.rec());
        EXPECT_EQ(g, nullptr);
        KX_Geometry_destroy(g, nullptr);
        const Caught e = errors.only();
        EXPECT_EQ(e.code, c.code);
        EXPECT_EQ(e.message, c.message);
    }
    Errors errors;
    EXPECT_EQ(KX_Geometry_fromJSON(nullptr, errors.rec()), nullptr);
    EXPECT_EQ(errors.only().code, KX_ERROR_INVALID_ARGUMENT);
}

TEST_F(JsonTest, NestingWithinTheLimitAndBracketsInsideStringsAreAccepted) {
    Geometry nested = from_json("{\"x\":1,\"y\":2,\"n\":" + std::string(31, '[') + std::string(31, ']') + "}");
    Geometry quoted = from_json("{\"x\":1,\"y\":2,\"n\":\"" + std::string(1000, '[') + "\\\"\"}");
    EXPECT_EQ(KX_Geometry_getObjectType(quoted.get(), ok()), KX_GEOMETRY_TYPE_POINT);
}

}  // namespace
}  // namespace engine_test
