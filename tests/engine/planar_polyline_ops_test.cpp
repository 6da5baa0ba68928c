// Cutting, closing gaps, positions along a polyline and extending it.
#include <nlohmann/json.hpp>

#include "planar_test.h"

namespace engine_test {
namespace {

// A vertical cutter running upwards through x = 4: its left is x < 4.
constexpr const char* kUpwards = R"({"paths":[[[4,-5],[4,15]]]})";

TEST(PlanarCut, PolygonPiecesLeftThenRightThenUncutParts) {
    Geometry g = from_json(R"({"rings":[[[0,0],[0,10],[10,10],[10,0],[0,0]],[[20,0],[20,10],[30,10],[30,0],[20,0]]]})");
    Geometry cutter = from_json(kUpwards);
    auto pieces = items_of(KX_GeometryEngine_cut(g.get(), cutter.get(), ok()));
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_DOUBLE_EQ(area_of(pieces[0].get()), 40.0);
    EXPECT_DOUBLE_EQ(area_of(pieces[1].get()), 60.0);
    EXPECT_DOUBLE_EQ(area_of(pieces[2].get()), 100.0);
    Geometry left_probe = point(2, 5);
    EXPECT_TRUE(KX_GeometryEngine_contains(pieces[0].get(), left_probe.get(), ok()));
    for (const auto& p : pieces) EXPECT_EQ(kind_of(p.get()), 4);
}

struct CutCase {
    const char* cutter;
    std::vector<double> areas;  // left, right, then uncut parts
};

TEST(PlanarCut, FacesGoToTheSideOfTheCutterTheyLieOn) {
    const CutCase kCases[] = {
        // a zigzag crossing the square three times: faces of 20 and 29.875 on its left, 11.125
        // and 35 on its right (the hole taking 3.875 and 0.125 of the middle two)
        {R"({"paths":[[[2,-1],[2,11],[5,-1],[8,11]]]})", {49.875, 46.125}},
        // through the hole, eastwards: north of y = 3 on its left
        {R"({"paths":[[[-1,3],[11,3]]]})", {70 - 2, 30 - 2}},
        // running downwards: its left is the east
        {R"({"paths":[[[4,15],[4,-5]]]})", {60, 40 - 4}},
    };
    for (const auto& c : kCases) {
        Geometry g = from_json(kHoled), cutter = from_json(c.cutter);
        auto pieces = items_of(KX_GeometryEngine_cut(g.get(), cutter.get(), ok()));
        ASSERT_EQ(pieces.size(), c.areas.size()) << c.cutter;
        for (size_t i = 0; i < pieces.size(); ++i) EXPECT_NEAR(area_of(pieces[i].get()), c.areas[i], 1e-9) << c.cutter << " " << i;
    }
}

TEST(PlanarCut, APolylineSplitsWhereTheCutterCrossesWithMInterpolated) {
    Geometry g = from_json(R"({"hasM":true,"paths":[[[0,0,0],[10,0,100]],[[20,0,0],[30,0,0]]]})");
    Geometry cutter = from_json(kUpwards);
    auto pieces = items_of(KX_GeometryEngine_cut(g.get(), cutter.get(), ok()));
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_DOUBLE_EQ(length_of(pieces[0].get()), 4.0);
    EXPECT_DOUBLE_EQ(length_of(pieces[1].get()), 6.0);
    EXPECT_DOUBLE_EQ(length_of(pieces[2].get()), 10.0);
    const auto left = part_points(pieces[0].get(), 0);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_NEAR(left.back().m, 40.0, 1e-9);
}

TEST(PlanarCut, NothingCutIsAnEmptyList) {
    constexpr const char* kEndsInside = R"({"paths":[[[4,15],[4,25]]]})";
    const std::pair<const char*, const char*> kCases[] = {
        {R"({"rings":[[[10,0],[10,10],[20,10],[20,0],[10,0]]]})", kUpwards},
        {R"({"paths":[[[0,20],[10,20]]]})", R"({"paths":[[[4,21],[4,25]]]})"},
        // touching without crossing cuts nothing off
        {R"({"paths":[[[0,20],[10,20]]]})", R"({"paths":[[[4,25],[4,20],[6,25]]]})"},
        // a cutter ending inside divides no part
        {R"({"rings":[[[0,20],[0,30],[10,30],[10,20],[0,20]]]})", kEndsInside},
        {R"({"points":[[0,0]]})", kUpwards},
        {R"({"rings":[]})", kUpwards},
        // nothing to divide: envelopes without width, height or either, a ring of no area
        {R"({"xmin":0,"ymin":5,"xmax":10,"ymax":5})", kUpwards},
        {R"({"xmin":2,"ymin":0,"xmax":2,"ymax":10})", R"({"paths":[[[0,5],[10,5]]]})"},
        {R"({"xmin":4,"ymin":5,"xmax":4,"ymax":5})", kUpwards},
        {R"({"rings":[[[0,5],[10,5],[6,5],[0,5]]]})", kUpwards},
        {kSquare, R"({"paths":[]})"},
    };
    for (const auto& [input, cutter_json] : kCases) {
        Geometry g = from_json(input), cutter = from_json(cutter_json);
        EXPECT_TRUE(items_of(KX_GeometryEngine_cut(g.get(), cutter.get(), ok())).empty()) << input << " by " << cutter_json;
    }
    Geometry polygon_cutter = from_json(kSquare), g = from_json(kSquare);
    Errors errors;
    EXPECT_EQ(KX_GeometryEngine_cut(g.get(), polygon_cutter.get(), errors.rec()), nullptr);
    EXPECT_EQ(errors.only().code, KX_ERROR_INVALID_HANDLE);
}

TEST(PlanarAutoComplete, ClosesTheGapBetweenPolygonsAndNewLines) {
    // Two squares with a gap between them, closed above and below by new lines.
    Geometry a = from_json(R"({"rings":[[[0,0],[0,10],[10,10],[10,0],[0,0]]]})");
    Geometry b = from_json(R"({"rings":[[[15,0],[15,10],[25,10],[25,0],[15,0]]]})");
    Geometry top = from_json(R"({"paths":[[[5,10],[20,10]]]})");
    Geometry bottom = from_json(R"({"paths":[[[5,0],[20,0]]]})");
    Vector existing = geometry_vector({a.get(), b.get()}), lines = geometry_vector({top.get(), bottom.get()});
    auto filled = items_of(KX_GeometryEngine_autoComplete(existing.get(), lines.get(), ok()));
    ASSERT_EQ(filled.size(), 1u);
    EXPECT_EQ(kind_of(filled[0].get()), 4);
    EXPECT_DOUBLE_EQ(area_of(filled[0].get()), 50.0);

    Vector no_lines = geometry_vector({});
    EXPECT_TRUE(items_of(KX_GeometryEngine_autoComplete(existing.get(), no_lines.get(), ok())).empty());
    Vector wrong = geometry_vector({a.get()});
    Errors errors;
    EXPECT_EQ(KX_GeometryEngine_autoComplete(existing.get(), wrong.get(), errors.rec()), nullptr);
    EXPECT_EQ(errors.only().code, KX_ERROR_INVALID_ARGUMENT);
}

struct Along {
    double distance;
    double x, y, m;
};

TEST(PlanarAlong, PointsAlongThePathsInOrderClampedToTheEnds) {
    Geometry line = from_json(R"({"hasM":true,"paths":[[[0,0,0],[10,0,10]],[[10,5,20],[10,15,30]]]})");
    const Along kCases[] = {
        {0, 0, 0, 0}, {2.5, 2.5, 0, 2.5}, {10, 10, 0, 10}, {15, 10, 10, 25}, {20, 10, 15, 30}, {99, 10, 15, 30}, {-3, 0, 0, 0},
    };
    for (const auto& c : kCases) {
        Geometry p(KX_GeometryEngine_createPointAlong(line.get(), c.distance, ok()));
        EXPECT_DOUBLE_EQ(KX_Point_getX(p.get(), ok()), c.x) << c.distance;
        EXPECT_DOUBLE_EQ(KX_Point_getY(p.get(), ok()), c.y) << c.distance;
        EXPECT_NEAR(KX_Point_getM(p.get(), ok()), c.m, 1e-9) << c.distance;
    }
    Geometry empty = from_json(R"({"paths":[]})");
    Geometry none(KX_GeometryEngine_createPointAlong(empty.get(), 1.0, ok()));
    EXPECT_TRUE(std::isnan(KX_Point_getX(none.get(), ok())));
}

struct Fraction {
    double x, y, tolerance, fraction;  // NaN: none
};

TEST(PlanarAlong, FractionOfTheNearestLocation) {
    Geometry line = from_json(R"({"paths":[[[0,0],[10,0]]]})");
    const Fraction kCases[] = {
        {2.5, 0, 0, 0.25}, {2.5, 1, 2, 0.25}, {2.5, 3, 2, NAN}, {5, 100, -1, 0.5},
        {-3, 1, -1, NAN},   // beyond the start
        {-3, 0, 5, 0.0},    // beyond the start but within the tolerance
        {10, 0, -1, 1.0},
    };
    for (const auto& c : kCases) {
        Geometry p = point(c.x, c.y);
        expect_same(KX_GeometryEngine_fractionAlong(line.get(), p.get(), c.tolerance, ok()), c.fraction);
    }
    Geometry empty_point = from_json(R"({"x":null,"y":null})");
    EXPECT_TRUE(std::isnan(KX_GeometryEngine_fractionAlong(line.get(), empty_point.get(), -1, ok())));
}

struct Extension {
    const char* line;
    int32_t options;
    const char* extended;  // null: no extension possible
};

TEST(PlanarExtend, EndsContinueToTheExtenderByTheOptions) {
    Geometry extender = from_json(R"({"paths":[[[10,-10],[10,10]],[[-10,-10],[-10,10]]]})");
    const Extension kCases[] = {
        {R"({"hasM":true,"paths":[[[0,0,0],[5,0,5]]]})", 0,
         R"({"hasM":true,"paths":[[[-10.0,0.0,-10.0],[0.0,0.0,0.0],[5.0,0.0,5.0],[10.0,0.0,10.0]]]})"},
        {R"({"hasM":true,"paths":[[[0,0,0],[5,0,5]]]})", 1, R"({"hasM":true,"paths":[[[-10.0,0.0,-10.0],[10.0,0.0,10.0]]]})"},
        {R"({"hasM":true,"paths":[[[0,0,0],[5,0,5]]]})", 1 | 2, R"({"hasM":true,"paths":[[[-10.0,0.0,0.0],[10.0,0.0,5.0]]]})"},
        {R"({"hasM":true,"paths":[[[0,0,0],[5,0,5]]]})", 1 | 4, R"({"hasM":true,"paths":[[[-10.0,0.0,null],[10.0,0.0,null]]]})"},
        {R"({"paths":[[[0,0],[5,0]]]})", 8, R"({"paths":[[[0.0,0.0],[5.0,0.0],[10.0,0.0]]]})"},
        {R"({"paths":[[[0,0],[5,0]]]})", 16, R"({"paths":[[[-10.0,0.0],[0.0,0.0],[5.0,0.0]]]})"},
        {R"({"paths":[[[0,0],[5,0]]]})", 8 | 16, nullptr},
        {R"({"paths":[[[0,0],[0,5]]]})", 0, nullptr},  // parallel: never meets
        // the end shared by the two paths stays
        {R"({"paths":[[[0,0],[5,0]],[[5,0],[5,1]]]})", 0, R"({"paths":[[[-10.0,0.0],[0.0,0.0],[5.0,0.0]],[[5.0,0.0],[5.0,1.0]]]})"},
    };
    for (const auto& c : kCases) {
        Geometry line = from_json(c.line);
        Errors errors;
        Geometry r(KX_GeometryEngine_extend(line.get(), extender.get(), c.options, errors.rec()));
        EXPECT_TRUE(errors.empty()) << c.line;
        if (c.extended == nullptr) {
            EXPECT_EQ(r, nullptr) << c.line << " " << c.options;
        } else {
            ASSERT_NE(r, nullptr) << c.line << " " << c.options;
            EXPECT_EQ(to_json(r.get()), c.extended) << c.line << " " << c.options;
        }
    }
    Geometry curved = from_json(R"({"curvePaths":[[[0,0],{"c":[[2,0],[1,1]]}]]})");
    Errors errors;
    EXPECT_EQ(KX_GeometryEngine_extend(curved.get(), extender.get(), 0, errors.rec()), nullptr);
    EXPECT_EQ(errors.only().code, KX_ERROR_GEOMETRY);
}

}  // namespace
}  // namespace engine_test
