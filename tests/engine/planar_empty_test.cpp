// Empty geometries, and geometries whose vertices lack x or y, through every planar operation:
// no operation fails on them; measures are 0, distances NaN, and results are empty.
#include <functional>

#include "planar_test.h"

namespace engine_test {
namespace {

const char* const kEmpties[] = {
    R"({"x":null,"y":null})",
    R"({"x":1,"y":null})",
    R"({"hasZ":true,"hasM":true,"x":null,"y":null,"z":1,"m":2})",
    R"({"points":[]})",
    R"({"points":[[null,null],[1,null]]})",
    R"({"paths":[]})",
    R"({"paths":[[]]})",
    R"({"paths":[[[null,null],[null,2]]]})",
    R"({"hasM":true,"rings":[]})",
    R"({"xmin":null,"ymin":null,"xmax":null,"ymax":null})",
};

// Vertices, but nothing of length or area: these keep their vertices where an operation keeps
// what it is given, and are otherwise empty.
const char* const kDegenerate[] = {
    R"({"paths":[[[1,1]]]})",
    R"({"rings":[[[1,1],[1,1],[1,1]]]})",
    R"({"rings":[[[null,null],[1,2],[3,4]]]})",
};

using Unary = std::function<KX_GeometryHandle(KX_GeometryHandle, const KX_ErrorCallbackRecord*)>;

struct Named {
    const char* name;
    Unary op;
};

TEST(PlanarEmpty, EveryOperationAnswersWithNothing) {
    Geometry box(KX_Envelope_createWithXY(0, 1, 0, 1, ok()));
    const Named kUnary[] = {
        {"boundary", KX_GeometryEngine_boundary},
        {"convexHull", KX_GeometryEngine_convexHull},
        {"simplify", KX_GeometryEngine_simplify},
        {"labelPoint", KX_GeometryEngine_labelPoint},
        {"buffer", [](auto g, auto rec) { return KX_GeometryEngine_buffer(g, 1.0, rec); }},
        {"densify", [](auto g, auto rec) { return KX_GeometryEngine_densify(g, 1.0, rec); }},
        {"generalize", [](auto g, auto rec) { return KX_GeometryEngine_generalize(g, 1, 1.0, rec); }},
        {"clip", [&](auto g, auto rec) { return KX_GeometryEngine_clip(g, box.get(), rec); }},
    };
    Geometry square = from_json(kSquare);
    std::vector<std::pair<const char*, bool>> inputs;
    for (const char* json : kEmpties) inputs.emplace_back(json, true);
    for (const char* json : kDegenerate) inputs.emplace_back(json, false);
    for (const auto& [json, empty] : inputs) {
        Geometry g = from_json(json);
        EXPECT_EQ(KX_GeometryEngine_area(g.get(), ok()), 0.0) << json;
        // A ring too thin to span an area still has the length of the closed path it draws.
        const double length = std::string(json).find("[3,4]") != std::string::npos ? 4 * std::sqrt(2.0) : 0.0;
        EXPECT_DOUBLE_EQ(KX_GeometryEngine_length(g.get(), ok()), length) << json;
        KX_GeometryEngine_isSimple(g.get(), ok());
        EXPECT_TRUE(std::isnan(KX_GeometryEngine_distance(g.get(), square.get(), ok()))) << json;
        for (const auto& u : kUnary) {
            Geometry r(u.op(g.get(), ok()));
            ASSERT_NE(r, nullptr) << u.name << " " << json;
            const std::string name = u.name;
            const bool keeps = name == "simplify" || (!empty && (name == "clip" || name == "boundary" || name == "densify"));
            if (!keeps) {
                EXPECT_TRUE(empty_geometry(r.get())) << u.name << " " << json;
            }
        }
        for (auto* relation : {KX_GeometryEngine_contains, KX_GeometryEngine_intersects, KX_GeometryEngine_within,
                               KX_GeometryEngine_touches, KX_GeometryEngine_overlaps, KX_GeometryEngine_crosses}) {
            EXPECT_FALSE(relation(g.get(), square.get(), ok())) << json;
            EXPECT_FALSE(relation(square.get(), g.get(), ok())) << json;
        }
        EXPECT_TRUE(KX_GeometryEngine_disjoint(g.get(), square.get(), ok())) << json;
        EXPECT_TRUE(KX_GeometryEngine_relate(g.get(), square.get(), "FF*FF****", ok())) << json;
        Geometry meet(KX_GeometryEngine_intersection(g.get(), square.get(), ok()));
        EXPECT_TRUE(empty_geometry(meet.get())) << json;
        Geometry rest(KX_GeometryEngine_difference(g.get(), square.get(), ok()));
        EXPECT_TRUE(empty_geometry(rest.get())) << json;
        Geometry whole(KX_GeometryEngine_difference(square.get(), g.get(), ok()));
        EXPECT_EQ(area_of(whole.get()), 100.0) << json;
        Geometry itself(KX_GeometryEngine_union(g.get(), g.get(), ok()));
        EXPECT_TRUE(empty_geometry(itself.get())) << json;
        EXPECT_TRUE(items_of(KX_GeometryEngine_intersections(g.get(), square.get(), ok())).empty()) << json;
        Geometry extent(KX_GeometryEngine_combineExtents(g.get(), square.get(), ok()));
        EXPECT_EQ(KX_Envelope_getXMax(extent.get(), ok()), 10.0) << json;
        Vector both = geometry_vector({g.get(), g.get()}), distances = float_vector({1.0});
        EXPECT_EQ(items_of(KX_GeometryEngine_bufferCollection(both.get(), distances.get(), 1, ok())).size(), 1u);
        EXPECT_EQ(items_of(KX_GeometryEngine_convexHullCollection(both.get(), 1, ok())).size(), 1u);
        Geometry united(KX_GeometryEngine_unionCollection(both.get(), ok()));
        EXPECT_TRUE(empty_geometry(united.get())) << json;
    }
}

TEST(PlanarEmpty, PolylineOperationsOnEmptyLines) {
    Geometry line = from_json(R"({"paths":[[[0,0],[10,0]]]})");
    Geometry cutter = from_json(R"({"paths":[[[5,-5],[5,5]]]})");
    for (const char* json : {R"({"paths":[]})", R"({"paths":[[[null,null],[null,2]]]})", R"({"paths":[[[1,1]]]})"}) {
        Geometry g = from_json(json);
        Geometry p(KX_GeometryEngine_createPointAlong(g.get(), 1.0, ok()));
        EXPECT_TRUE(std::isnan(KX_Point_getX(p.get(), ok()))) << json;
        Geometry probe = point(1, 1);
        EXPECT_TRUE(std::isnan(KX_GeometryEngine_fractionAlong(g.get(), probe.get(), -1, ok()))) << json;
        EXPECT_EQ(KX_GeometryEngine_extend(g.get(), line.get(), 0, ok()), nullptr) << json;
        EXPECT_EQ(KX_GeometryEngine_extend(line.get(), g.get(), 0, ok()), nullptr) << json;
        EXPECT_TRUE(items_of(KX_GeometryEngine_cut(g.get(), cutter.get(), ok())).empty()) << json;
        EXPECT_TRUE(items_of(KX_GeometryEngine_cut(line.get(), g.get(), ok())).empty()) << json;
    }
}

TEST(PlanarEmpty, InfiniteCoordinatesAreRefusedWhereGeosWouldComputeOnThem) {
    Geometry g = multipart(false, {{{0, 0}, {INFINITY, 0}}});
    Geometry square = from_json(kSquare);
    Errors errors;
    EXPECT_EQ(KX_GeometryEngine_buffer(g.get(), 1.0, errors.rec()), nullptr);
    EXPECT_EQ(KX_GeometryEngine_intersection(g.get(), square.get(), errors.rec()), nullptr);
    ASSERT_EQ(errors.all().size(), 2u);
    for (const auto& e : errors.all()) EXPECT_EQ(e.code, KX_ERROR_GEOMETRY);
    KX_GeometryEngine_length(g.get(), ok());  // measures still answer
    KX_GeometryEngine_isSimple(g.get(), ok());
}

}  // namespace
}  // namespace engine_test
