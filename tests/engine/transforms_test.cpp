// Move, rotate, scale and the z / m operations: exact results, curves kept as curves, m and z
// carried, envelopes, empties and origins in another spatial reference.
#include <nlohmann/json.hpp>

#include <cmath>
#include <functional>

#include "engine_test.h"

namespace engine_test {
namespace {

class TransformsTest : public EngineTest {};

struct Extent {
    double xmin, ymin, xmax, ymax;
};

Extent extent_of(KX_GeometryHandle g) {
    Geometry e(KX_Geometry_getExtent(g, ok()));
    return {KX_Envelope_getXMin(e.get(), ok()), KX_Envelope_getYMin(e.get(), ok()), KX_Envelope_getXMax(e.get(), ok()),
            KX_Envelope_getYMax(e.get(), ok())};
}

void expect_extent(KX_GeometryHandle g, Extent expected) {
    const Extent e = extent_of(g);
    EXPECT_NEAR(e.xmin, expected.xmin, 1e-9);
    EXPECT_NEAR(e.ymin, expected.ymin, 1e-9);
    EXPECT_NEAR(e.xmax, expected.xmax, 1e-9);
    EXPECT_NEAR(e.ymax, expected.ymax, 1e-9);
}

// Equal JSON texts but for numbers, which may differ in the last digits (an arc's midpoint is
// worked out with sines and cosines).
bool json_near(const nlohmann::json& a, const nlohmann::json& b) {
    if (a.is_number() && b.is_number()) return std::abs(a.get<double>() - b.get<double>()) <= 1e-12 * (1 + std::abs(b.get<double>()));
    if (a.type() != b.type() || a.size() != b.size()) return false;
    if (a.is_array()) {
        for (size_t i = 0; i < a.size(); ++i)
            if (!json_near(a[i], b[i])) return false;
        return true;
    }
    if (a.is_object()) {
        for (auto it = a.begin(); it != a.end(); ++it)
            if (!b.contains(it.key()) || !json_near(it.value(), b[it.key()])) return false;
        return true;
    }
    return a == b;
}

void expect_json(KX_GeometryHandle g, const char* expected) {
    const std::string actual = to_json(g);
    EXPECT_TRUE(json_near(nlohmann::json::parse(actual), nlohmann::json::parse(expected))) << actual << "\n" << expected;
}

// A path with a half circle (centre (1, 0), over the top), a Bezier curve, z and m.
const char* kCurvedLine =
    R"({"hasZ":true,"hasM":true,"curvePaths":[[[0,0,1,2],{"c":[[2,0,3,4],[1,1]]},{"b":[[4,0,5,6],[2,2],[4,2]]}]]})";

TEST_F(TransformsTest, MoveAndQuarterTurnsAreExactAndKeepCurvesZAndM) {
    struct Case {
        const char* input;
        std::function<KX_GeometryHandle(KX_GeometryHandle)> op;
        const char* expected;
    };
    const auto move = [](KX_GeometryHandle g) { return KX_GeometryEngine_move(g, 10, -5, ok()); };
    const auto turn = [](double degrees) {
        return [degrees](KX_GeometryHandle g) {
            Geometry origin = point(0, 0);
            return KX_GeometryEngine_rotate(g, origin.get(), degrees, ok());
        };
    };
    const std::vector<Case> cases = {
        {kCurvedLine, move,
         R"({"hasZ":true,"hasM":true,"curvePaths":[[[10.0,-5.0,1.0,2.0],{"c":[[12.0,-5.0,3.0,4.0],[11.0,-4.0]]},{"b":[[14.0,-5.0,5.0,6.0],[12.0,-3.0],[14.0,-3.0]]}]]})"},
        {R"({"x":1,"y":2,"m":7})", move, R"({"x":11.0,"y":-3.0,"m":7.0})"},
        {R"({"points":[[1,2],[null,null]]})", move, R"({"points":[[11.0,-3.0],[null,null]]})"},
        {R"({"xmin":0,"ymin":1,"xmax":2,"ymax":3})", move, R"({"xmin":10.0,"ymin":-4.0,"xmax":12.0,"ymax":-2.0})"},
        {R"({"x":null,"y":null})", move, R"({"x":null,"y":null})"},
        {R"({"rings":[]})", move, R"({"rings":[]})"},
        {kCurvedLine, turn(90),
         R"({"hasZ":true,"hasM":true,"curvePaths":[[[0.0,0.0,1.0,2.0],{"c":[[0.0,2.0,3.0,4.0],[-1.0,1.0]]},{"b":[[0.0,4.0,5.0,6.0],[-2.0,2.0],[-2.0,4.0]]}]]})"},
        {R"({"x":1,"y":2})", turn(450), R"({"x":-2.0,"y":1.0})"},
        {R"({"x":1,"y":2})", turn(-270), R"({"x":-2.0,"y":1.0})"},
        {R"({"x":1,"y":2})", turn(540), R"({"x":-1.0,"y":-2.0})"},
        // An envelope turned is a polygon (a clockwise ring, as the module's rings run).
        {R"({"xmin":0,"ymin":0,"xmax":2,"ymax":1})", turn(90),
         R"({"rings":[[[0.0,0.0],[-1.0,0.0],[-1.0,2.0],[0.0,2.0],[0.0,0.0]]]})"},
    };
    for (const auto& c : cases) {
        Geometry g = from_json(c.input);
        Geometry result(c.op(g.get()));
        expect_json(result.get(), c.expected);
    }
}

TEST_F(TransformsTest, ScalingAndTurningCurvesFollowsTheirTrueShape) {
    Geometry arc = from_json(R"({"curvePaths":[[[0,0],{"c":[[2,0],[1,1]]}]]})");
    Geometry origin = point(0, 0);
    struct Case {
        double sx, sy;
        Extent expected;  // of the image of the half circle, its bulge included
    };
    for (const auto& c : std::vector<Case>{{2, 3, {0, 0, 4, 3}},
                                           {-1, 1, {-2, 0, 0, 1}},
                                           {1, -2, {0, -2, 2, 0}},
                                           {-0.5, -0.5, {-1, -0.5, 0, 0}}}) {
        Geometry scaled(KX_GeometryEngine_scale(arc.get(), origin.get(), c.sx, c.sy, ok()));
        EXPECT_TRUE(KX_Geometry_getHasCurves(scaled.get(), ok())) << c.sx << " " << c.sy;
        expect_extent(scaled.get(), c.expected);
    }
    // Turned by 30 degrees about the arc's centre, the half circle's ends sit at 30 and 210 degrees.
    Geometry centre = point(1, 0);
    Geometry turned(KX_GeometryEngine_rotate(arc.get(), centre.get(), 30, ok()));
    const double c30 = std::cos(M_PI / 6), s30 = 0.5;
    expect_extent(turned.get(), {1 - 1, 0 - s30, 1 + c30, 1});
    // An arc squashed flat is the straight segment it became.
    Geometry flat(KX_GeometryEngine_scale(arc.get(), origin.get(), 1, 0, ok()));
    EXPECT_FALSE(KX_Geometry_getHasCurves(flat.get(), ok()));
    // Turning there and back gives the geometry back.
    Geometry line = from_json(kCurvedLine);
    Geometry there(KX_GeometryEngine_rotate(line.get(), origin.get(), 37, ok()));
    Geometry back(KX_GeometryEngine_rotate(there.get(), origin.get(), -37, ok()));
    const auto before = part_points(line.get(), 0), after = part_points(back.get(), 0);
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_NEAR(after[i].x, before[i].x, 1e-12);
        EXPECT_NEAR(after[i].y, before[i].y, 1e-12);
        EXPECT_EQ(after[i].m, before[i].m);
    }
    expect_extent(back.get(), [&] { return extent_of(line.get()); }());
}

TEST_F(TransformsTest, OriginsDefaultToTheExtentsCentreAndAreReprojected) {
    Geometry line = from_json(R"({"paths":[[[0,0],[4,2]]]})");
    Geometry empty_origin = from_json(R"({"x":null,"y":null})");
    for (KX_GeometryHandle origin : {static_cast<KX_GeometryHandle>(nullptr), empty_origin.get()}) {
        Geometry scaled(KX_GeometryEngine_scale(line.get(), origin, 2, 2, ok()));
        EXPECT_EQ(to_json(scaled.get()), R"({"paths":[[[-2.0,-1.0],[6.0,3.0]]]})");
        Geometry turned(KX_GeometryEngine_rotate(line.get(), origin, 180, ok()));
        EXPECT_EQ(to_json(turned.get()), R"({"paths":[[[4.0,2.0],[0.0,0.0]]]})");
    }
    // A point scaled about itself stays.
    Geometry p = point(3, 4);
    Geometry same(KX_GeometryEngine_scale(p.get(), p.get(), 5, -7, ok()));
    EXPECT_EQ(to_json(same.get()), R"({"x":3.0,"y":4.0})");
    // An origin in longitude and latitude, for a geometry in Web Mercator: shrunk to nothing, the
    // geometry lands on the origin's projected position.
    Geometry mercator = from_json(R"({"points":[[0,0],[5e5,5e5]],"spatialReference":{"wkid":3857}})");
    Geometry lonlat = from_json(R"({"x":1,"y":0,"spatialReference":{"wkid":4326}})");
    Geometry collapsed(KX_GeometryEngine_scale(mercator.get(), lonlat.get(), 0, 0, ok()));
    const auto e = extent_of(collapsed.get());
    EXPECT_NEAR(e.xmin, 111319.49079327357, 1e-6);
    EXPECT_NEAR(e.xmax, 111319.49079327357, 1e-6);
    EXPECT_EQ(e.ymin, 0);
}

TEST_F(TransformsTest, ZAndMAreSetAndRemoved) {
    struct Case {
        const char* input;
        std::function<KX_GeometryHandle(KX_GeometryHandle)> op;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {R"({"paths":[[[0,0],[1,1]]]})", [](auto g) { return KX_GeometryEngine_setZ(g, 5, ok()); },
         R"({"hasZ":true,"paths":[[[0.0,0.0,5.0],[1.0,1.0,5.0]]]})"},
        {R"({"x":1,"y":2})", [](auto g) { return KX_GeometryEngine_setM(g, 7, ok()); }, R"({"x":1.0,"y":2.0,"m":7.0})"},
        {R"({"points":[[1,2,3]],"hasZ":true})", [](auto g) { return KX_GeometryEngine_setZAndM(g, 1, 2, ok()); },
         R"({"hasZ":true,"hasM":true,"points":[[1.0,2.0,1.0,2.0]]})"},
        {kCurvedLine, [](auto g) { return KX_GeometryEngine_removeZ(g, ok()); },
         R"({"hasM":true,"curvePaths":[[[0.0,0.0,2.0],{"c":[[2.0,0.0,4.0],[1.0,1.0]]},{"b":[[4.0,0.0,6.0],[2.0,2.0],[4.0,2.0]]}]]})"},
        {kCurvedLine, [](auto g) { return KX_GeometryEngine_removeM(g, ok()); },
         R"({"hasZ":true,"curvePaths":[[[0.0,0.0,1.0],{"c":[[2.0,0.0,3.0],[1.0,1.0]]},{"b":[[4.0,0.0,5.0],[2.0,2.0],[4.0,2.0]]}]]})"},
        {kCurvedLine, [](auto g) { return KX_GeometryEngine_removeZAndM(g, ok()); },
         R"({"curvePaths":[[[0.0,0.0],{"c":[[2.0,0.0],[1.0,1.0]]},{"b":[[4.0,0.0],[2.0,2.0],[4.0,2.0]]}]]})"},
        {R"({"xmin":0,"ymin":0,"xmax":1,"ymax":1})", [](auto g) { return KX_GeometryEngine_setZ(g, 5, ok()); },
         R"({"xmin":0.0,"ymin":0.0,"xmax":1.0,"ymax":1.0,"zmin":5.0,"zmax":5.0})"},
        {R"({"x":1,"y":2,"z":3})", [](auto g) { return KX_GeometryEngine_removeZ(g, ok()); }, R"({"x":1.0,"y":2.0})"},
        {R"({"rings":[]})", [](auto g) { return KX_GeometryEngine_removeZAndM(g, ok()); }, R"({"rings":[]})"},
        {R"({"x":null,"y":null})", [](auto g) { return KX_GeometryEngine_removeM(g, ok()); }, R"({"x":null,"y":null})"},
    };
    for (const auto& c : cases) {
        Geometry g = from_json(c.input);
        Geometry result(c.op(g.get()));
        expect_json(result.get(), c.expected);
    }
}

TEST_F(TransformsTest, RefusedArguments) {
    Geometry line = from_json(R"({"paths":[[[0,0],[1,1]]]})");
    struct Case {
        const char* name;
        std::function<KX_GeometryHandle(const KX_ErrorCallbackRecord*)> call;
        int32_t code;
    };
    const std::vector<Case> cases = {
        {"NaN distance", [&](auto rec) { return KX_GeometryEngine_move(line.get(), NAN, 0, rec); }, KX_ERROR_INVALID_ARGUMENT},
        {"infinite angle", [&](auto rec) { return KX_GeometryEngine_rotate(line.get(), nullptr, INFINITY, rec); }, KX_ERROR_INVALID_ARGUMENT},
        {"NaN factor", [&](auto rec) { return KX_GeometryEngine_scale(line.get(), nullptr, 1, NAN, rec); }, KX_ERROR_INVALID_ARGUMENT},
        {"origin not a point", [&](auto rec) { return KX_GeometryEngine_rotate(line.get(), line.get(), 10, rec); }, KX_ERROR_INVALID_HANDLE},
        {"null geometry", [&](auto rec) { return KX_GeometryEngine_setZ(nullptr, 1, rec); }, KX_ERROR_INVALID_ARGUMENT},
    };
    for (const auto& c : cases) {
        Errors errors;
        EXPECT_EQ(c.call(errors.rec()), nullptr) << c.name;
        EXPECT_EQ(errors.only().code, c.code) << c.name;
    }
}

}  // namespace
}  // namespace engine_test
