// simplify makes geometries topologically correct, and isSimple answers exactly whether simplify
// would change anything.
#include <nlohmann/json.hpp>

#include "planar_test.h"

namespace engine_test {
namespace {

struct Case {
    const char* input;
    bool simple;
    const char* simplified;  // the engine's text of the result; null: compared by area below
    double area;
};

TEST(PlanarSimplify, CleansAndAnswersWhetherItWould) {
    const Case kCases[] = {
        {kHoled, true, nullptr, 96},
        {R"({"rings":[]})", true, R"({"rings":[]})", 0},
        // counter-clockwise exterior: turned round
        {R"({"rings":[[[0,0],[4,0],[4,4],[0,4],[0,0]]]})", false, R"({"rings":[[[0.0,0.0],[0.0,4.0],[4.0,4.0],[4.0,0.0],[0.0,0.0]]]})", 16},
        // a repeated vertex
        {R"({"rings":[[[0,0],[0,4],[0,4],[4,4],[4,0],[0,0]]]})", false, nullptr, 16},
        // a bow tie: resolved into its two triangles
        {R"({"rings":[[[0,0],[0,4],[4,0],[4,4],[0,0]]]})", false, nullptr, 8},
        // a ring without area goes
        {R"({"rings":[[[0,0],[0,4],[4,4],[4,0],[0,0]],[[10,10],[11,11],[12,12],[10,10]]]})", false, nullptr, 16},
        // two exteriors overlapping: united
        {R"({"rings":[[[0,0],[0,4],[4,4],[4,0],[0,0]],[[2,2],[2,6],[6,6],[6,2],[2,2]]]})", false, nullptr, 28},
        {R"({"paths":[[[0,0],[1,1],[2,0]]]})", true, R"({"paths":[[[0.0,0.0],[1.0,1.0],[2.0,0.0]]]})", 0},
        {R"({"hasM":true,"paths":[[[0,0,1],[1,1,2],[1,1,3],[2,0,4]],[[5,5,5],[5,5,6]]]})", false,
         R"({"hasM":true,"paths":[[[0.0,0.0,1.0],[1.0,1.0,2.0],[2.0,0.0,4.0]]]})", 0},
        // a self-crossing path is left as it is
        {R"({"paths":[[[0,0],[2,2],[2,0],[0,2]]]})", true, R"({"paths":[[[0.0,0.0],[2.0,2.0],[2.0,0.0],[0.0,2.0]]]})", 0},
        {R"({"curvePaths":[[[0,0],{"c":[[2,0],[1,1]]},[2,0],[3,0]]]})", false, R"({"curvePaths":[[[0.0,0.0],{"c":[[2.0,0.0],[1.0,1.0]]},[3.0,0.0]]]})", 0},
        {R"({"points":[[1,1],[2,2],[1,1]]})", false, R"({"points":[[1.0,1.0],[2.0,2.0]]})", 0},
        {R"({"points":[[1,1],[null,null]]})", false, R"({"points":[[1.0,1.0]]})", 0},
        {R"({"points":[[1,1],[2,2]]})", true, R"({"points":[[1.0,1.0],[2.0,2.0]]})", 0},
        {R"({"x":1,"y":2})", true, R"({"x":1.0,"y":2.0})", 0},
        {R"({"x":null,"y":null})", true, R"({"x":null,"y":null})", 0},
        {R"({"xmin":0,"ymin":0,"xmax":1,"ymax":1})", true, R"({"xmin":0.0,"ymin":0.0,"xmax":1.0,"ymax":1.0})", 1},
    };
    for (const auto& c : kCases) {
        Geometry g = from_json(c.input);
        EXPECT_EQ(KX_GeometryEngine_isSimple(g.get(), ok()), c.simple) << c.input;
        Geometry s(KX_GeometryEngine_simplify(g.get(), ok()));
        if (c.simplified) {
            EXPECT_EQ(to_json(s.get()), c.simplified) << c.input;
        }
        EXPECT_DOUBLE_EQ(area_of(s.get()), c.area) << c.input;
        if (c.simple) {
            EXPECT_EQ(to_json(s.get()), to_json(g.get())) << c.input;
        }
        EXPECT_TRUE(KX_GeometryEngine_isSimple(s.get(), ok())) << c.input << " -> " << to_json(s.get());
    }
}

TEST(PlanarSimplify, AValidCurvedPolygonKeepsItsCurves) {
    Geometry disc = from_json(R"({"curveRings":[[[1,0],{"a":[[1,0],[0,0],0,1]}]]})");  // clockwise
    EXPECT_TRUE(KX_GeometryEngine_isSimple(disc.get(), ok()));
    Geometry s(KX_GeometryEngine_simplify(disc.get(), ok()));
    EXPECT_TRUE(KX_Geometry_getHasCurves(s.get(), ok()));
}

// A repair multiplies coordinate differences too: GEOS's repair leaked what its buffer builder had
// made near 1e308, and again on a curve swinging out to 3e149 (both found by the fuzzer under the
// leak checker). Repairs refuse coordinates past 1e100 with a geometry error, as buffers and hulls
// do, and still mend a self-crossing ring at 1e100.
TEST(PlanarSimplify, RepairsRefuseMagnitudesWhoseProductsOverflow) {
    struct Case {
        const char* input;
        bool refused;
    };
    const Case kCases[] = {
        {R"({"rings":[[[1,-10],[-0.5344289382086063,0.644986960829146],[-0.7799309459546797,0.5456399704819741],
            [-1.8470641339235525,-0.0776666212254005],[-1.5146120926839351e307,8.919566311441031e307],[1,-10]]]})",
         true},
        {R"({"curveRings":[[[5e-324,0],{"b":[[0,-2],[-1e150,-6e133],[1e150,6e133]]},
            {"b":[[-2,0],[-1.0666666666666664,-1.7333333333333334],[-0.9333333333333336,-0.26666666666666683]]},[0,2],
            {"b":[[5e-324,0],[0.4,1.3333333333333335],[-0.4,0.6666666666666665]]}]]})",
         true},
        {R"({"rings":[[[0,0],[1e101,1e101],[1e101,0],[0,1e101],[0,0]]]})", true},
        {R"({"rings":[[[0,0],[1e100,1e100],[1e100,0],[0,1e100],[0,0]]]})", false},
    };
    for (const auto& c : kCases) {
        Geometry g = from_json(c.input);
        Errors errors;
        Geometry s(KX_GeometryEngine_simplify(g.get(), errors.rec()));
        EXPECT_EQ(s.get() == nullptr, c.refused) << c.input;
        if (c.refused) {
            EXPECT_EQ(errors.only().code, KX_ERROR_GEOMETRY) << c.input;
        } else {
            EXPECT_TRUE(KX_GeometryEngine_isSimple(s.get(), ok())) << to_json(s.get());
        }
    }
}

}  // namespace
}  // namespace engine_test
