// Boundary, convex hull, buffer, densify, generalize, label point and the measures, against GEOS
// itself where GEOS answers the same question.
#include <nlohmann/json.hpp>

#include "planar_test.h"

namespace engine_test {
namespace {

constexpr const char* kLines = R"({"paths":[[[0,0],[3,4],[6,0]],[[10,10],[10,12]]]})";
constexpr const char* kLinesWkt = "MULTILINESTRING((0 0,3 4,6 0),(10 10,10 12))";

struct BoundaryCase {
    const char* input;
    int32_t kind;
    double length;   // of a polyline result
    size_t points;   // of a multipoint result
};

TEST(PlanarShape, BoundaryKinds) {
    const BoundaryCase kCases[] = {
        {kHoled, 3, 48.0, 0},
        {R"({"xmin":0,"ymin":0,"xmax":2,"ymax":3})", 3, 10.0, 0},
        {kLines, 5, 0, 4},
        // a closed path has no ends, and an end shared by two paths is none either
        {R"({"paths":[[[0,0],[1,0],[1,1],[0,0]],[[5,5],[6,6]],[[6,6],[7,5]]]})", 5, 0, 2},
        {R"({"x":1,"y":2})", 5, 0, 0},
        {R"({"points":[[1,2],[3,4]]})", 5, 0, 0},
    };
    for (const auto& c : kCases) {
        Geometry g = from_json(c.input);
        Geometry b(KX_GeometryEngine_boundary(g.get(), ok()));
        EXPECT_EQ(kind_of(b.get()), c.kind) << c.input;
        if (c.kind == 3) {
            EXPECT_DOUBLE_EQ(length_of(b.get()), c.length) << c.input;
        } else {
            EXPECT_EQ(nlohmann::json::parse(to_json(b.get()))["points"].size(), c.points) << c.input;
        }
    }
}

TEST(PlanarShape, BoundaryOfACurvedPolygonKeepsItsCurves) {
    Geometry disc = from_json(R"({"curveRings":[[[1,0],{"a":[[1,0],[0,0],0,1]}]]})");
    Geometry b(KX_GeometryEngine_boundary(disc.get(), ok()));
    EXPECT_TRUE(KX_Geometry_getHasCurves(b.get(), ok()));
}

TEST(PlanarShape, ConvexHullAsGeosAndOfLowerDimensionWhereNoAreaIsSpanned) {
    Reference geos;
    Geometry l = from_json(kLShape);
    Geometry hull(KX_GeometryEngine_convexHull(l.get(), ok()));
    EXPECT_EQ(kind_of(hull.get()), 4);
    EXPECT_NEAR(area_of(hull.get()), geos.area(geos.keep(GEOSConvexHull_r(geos.context(), geos.read(kLShapeWkt)))), 1e-9);

    Geometry collinear = from_json(R"({"points":[[0,0],[1,1],[3,3]]})");
    Geometry segment(KX_GeometryEngine_convexHull(collinear.get(), ok()));
    EXPECT_EQ(kind_of(segment.get()), 3);
    Geometry single = point(1, 1);
    Geometry same(KX_GeometryEngine_convexHull(single.get(), ok()));
    EXPECT_EQ(kind_of(same.get()), 1);

    Geometry far = point(20, 20);
    Vector both = geometry_vector({l.get(), far.get()});
    auto merged = items_of(KX_GeometryEngine_convexHullCollection(both.get(), 1, ok()));
    ASSERT_EQ(merged.size(), 1u);
    EXPECT_GT(area_of(merged[0].get()), area_of(hull.get()));
    auto each = items_of(KX_GeometryEngine_convexHullCollection(both.get(), 0, ok()));
    ASSERT_EQ(each.size(), 2u);
    EXPECT_EQ(kind_of(each[1].get()), 1);
}

struct BufferCase {
    const char* json;
    const char* wkt;
    double distance;
};

TEST(PlanarShape, BufferAsGeosWithTheStatedArcTolerance) {
    const BufferCase kCases[] = {
        {kHoled, kHoledWkt, 1.5}, {kHoled, kHoledWkt, -0.5}, {kLShape, kLShapeWkt, 0.0},
        {kLines, kLinesWkt, 2.0}, {R"({"x":3,"y":4})", "POINT(3 4)", 1.0},
    };
    Reference geos;
    for (const auto& c : kCases) {
        Geometry g = from_json(c.json);
        Geometry b(KX_GeometryEngine_buffer(g.get(), c.distance, ok()));
        EXPECT_EQ(kind_of(b.get()), 4);
        const GEOSGeometry* expected = geos.keep(GEOSBuffer_r(geos.context(), geos.read(c.wkt), c.distance, 18));
        EXPECT_NEAR(area_of(b.get()), geos.area(expected), 1e-9) << c.wkt << " " << c.distance;
    }
    // A circle of radius 1: its chords stay within 0.1% of the radius, so its area within the
    // annulus that allows.
    Geometry p = point(0, 0);
    Geometry circle(KX_GeometryEngine_buffer(p.get(), 1.0, ok()));
    EXPECT_LE(area_of(circle.get()), M_PI);
    EXPECT_GE(area_of(circle.get()), M_PI * (1 - 1e-3) * (1 - 1e-3));
}

TEST(PlanarShape, BuffersThatLeaveNothingAreEmptyPolygonsAndBadDistancesAreRefused) {
    Geometry line = from_json(kLines);
    Geometry shrunk(KX_GeometryEngine_buffer(line.get(), -1.0, ok()));
    EXPECT_EQ(kind_of(shrunk.get()), 4);
    EXPECT_TRUE(empty_geometry(shrunk.get()));
    for (double bad : {NAN, INFINITY}) {
        Errors errors;
        EXPECT_EQ(KX_GeometryEngine_buffer(line.get(), bad, errors.rec()), nullptr);
        EXPECT_EQ(errors.only().code, KX_ERROR_INVALID_ARGUMENT);
    }
}

// Magnitudes whose squares overflow made GEOS's buffer crash; they are refused before GEOS runs,
// while the largest accepted ones still buffer.
TEST(PlanarShape, BuffersRefuseMagnitudesWhoseSquaresOverflow) {
    struct Case {
        const char* json;
        double distance;
        bool refused;
    };
    const Case cases[] = {
        {R"({"rings":[[[5,1e308],[10,10],[10,0],[0,0]]]})", 10.0, true},
        {R"({"rings":[[[5,1e160],[10,10],[10,0],[0,0]]]})", 1e160, true},
        {R"({"paths":[[[0,0],[1,1]]]})", 1e101, true},
        {R"({"rings":[[[5,1e100],[10,10],[10,0],[0,0]]]})", 1e100, false},
        {R"({"x":0,"y":0})", -1e100, false},
    };
    for (const auto& c : cases) {
        Geometry g = from_json(c.json);
        Errors errors;
        Geometry b(KX_GeometryEngine_buffer(g.get(), c.distance, errors.rec()));
        EXPECT_EQ(b.get() == nullptr, c.refused) << c.json;
        if (c.refused) {
            EXPECT_EQ(errors.only().code, KX_ERROR_GEOMETRY) << c.json;
        }
    }
}

// Coordinates near the largest double overflow GEOS's orientation tests, and its hull's sort then
// read past its input (a crash found by the fuzzer); hulls refuse them as buffers do, one at a time
// or merged, while the largest accepted magnitudes still make a hull.
TEST(PlanarShape, ConvexHullsRefuseMagnitudesWhoseProductsOverflow) {
    std::string spread;  // forty points at the corners of the double range and near the origin
    for (int i = 0; i < 40; ++i) {
        const double xs[] = {1.7976931348623157e308, -1.7976931348623157e308, 1, 0.5, -1};
        const double ys[] = {1.7976931348623157e308, -1.7976931348623157e308, 2, -3};
        if (i) spread += ',';
        spread += nlohmann::json::array({xs[i % 5], ys[i % 4]}).dump();
    }
    struct Case {
        std::string json;
        bool refused;
    };
    const Case cases[] = {
        {R"({"points":[)" + spread + "]}", true},
        {R"({"paths":[[)" + spread + "]]}", true},
        {R"({"paths":[[[1,1],[1e101,0],[0,2],[3,3]]]})", true},
        {R"({"points":[[1e100,1e100],[-1e100,1e100],[0,-1e100]]})", false},
    };
    Geometry origin = point(0, 0);
    for (const auto& c : cases) {
        Geometry g = from_json(c.json);
        Errors one;
        Geometry hull(KX_GeometryEngine_convexHull(g.get(), one.rec()));
        EXPECT_EQ(hull.get() == nullptr, c.refused) << c.json;
        Vector both = geometry_vector({origin.get(), g.get()});
        Errors merged;
        KX_ArrayHandle hulls = KX_GeometryEngine_convexHullCollection(both.get(), 1, merged.rec());
        EXPECT_EQ(hulls == nullptr, c.refused) << c.json;
        if (hulls != nullptr) items_of(hulls);
        if (c.refused) {
            EXPECT_EQ(one.only().code, KX_ERROR_GEOMETRY) << c.json;
            EXPECT_EQ(merged.only().code, KX_ERROR_GEOMETRY) << c.json;
        } else {
            EXPECT_EQ(kind_of(hull.get()), 4);
        }
    }
}

struct CollectionBuffer {
    std::vector<double> distances;
    bool unite;
    std::vector<double> areas;  // of the circles, radius by radius; negative: an engine error
};

TEST(PlanarShape, BufferCollectionPairsDistancesWithGeometries) {
    Geometry a = point(0, 0), b = point(100, 0), c = point(200, 0);
    const double unit = area_of(Geometry(KX_GeometryEngine_buffer(a.get(), 1.0, ok())).get());
    const CollectionBuffer kCases[] = {
        {{1, 2, 3}, false, {1, 4, 9}},
        {{1, 2, 3, 4}, false, {1, 4, 9}},  // extra distances ignored
        {{1, 2}, false, {1, 4, 4}},        // the last one repeats
        {{1, 2, 3}, true, {14}},
        {{}, false, {-1}},                 // no distance for the geometries
    };
    Vector geometries = geometry_vector({a.get(), b.get(), c.get()});
    for (const auto& k : kCases) {
        Vector distances = float_vector(k.distances);
        Errors errors;
        KX_ArrayHandle array = KX_GeometryEngine_bufferCollection(geometries.get(), distances.get(), k.unite, errors.rec());
        if (k.areas.front() < 0) {
            EXPECT_EQ(array, nullptr);
            EXPECT_EQ(errors.only().code, KX_ERROR_INVALID_ARGUMENT);
            continue;
        }
        auto result = items_of(array);
        ASSERT_EQ(result.size(), k.areas.size());
        for (size_t i = 0; i < result.size(); ++i) EXPECT_NEAR(area_of(result[i].get()), k.areas[i] * unit, 1e-6);
    }
    Vector none = geometry_vector({}), no_distances = float_vector({});
    EXPECT_TRUE(items_of(KX_GeometryEngine_bufferCollection(none.get(), no_distances.get(), 0, ok())).empty());
}

TEST(PlanarShape, DensifyShortensEverySegmentAndInterpolatesZAndM) {
    Geometry line = from_json(R"({"hasZ":true,"hasM":true,"paths":[[[0,0,0,0],[10,0,10,100]]]})");
    Geometry d(KX_GeometryEngine_densify(line.get(), 3.0, ok()));
    const auto points = part_points(d.get(), 0);
    ASSERT_EQ(points.size(), 5u);
    for (const auto& p : points) {
        EXPECT_NEAR(p.z, p.x, 1e-9);
        EXPECT_NEAR(p.m, p.x * 10, 1e-9);
    }
    // A repeated vertex (GEOS drops the copy) and a closing segment, whose m runs from the last
    // vertex's back to the first's.
    Geometry ring = from_json(R"({"hasM":true,"rings":[[[0,0,0],[0,4,4],[0,4,4],[4,4,8],[4,0,12]]]})");
    Geometry dense_ring(KX_GeometryEngine_densify(ring.get(), 1.0, ok()));
    const auto ring_points = part_points(dense_ring.get(), 0);
    ASSERT_EQ(ring_points.size(), 16u);
    for (size_t i = 0; i < ring_points.size(); ++i) {
        const auto& p = ring_points[i];
        const double expected = p.x == 0 ? p.y : p.y == 4 ? 4 + p.x : p.x == 4 ? 12 - p.y : 3 * p.x;
        EXPECT_NEAR(p.m, expected, 1e-9) << i;
    }
    for (double bad : {0.0, -1.0, double(NAN)}) {
        Errors errors;
        EXPECT_EQ(KX_GeometryEngine_densify(line.get(), bad, errors.rec()), nullptr);
        EXPECT_EQ(errors.only().code, KX_ERROR_INVALID_ARGUMENT);
    }
    Geometry env(KX_Envelope_createWithXY(0, 1, 0, 1, ok()));
    Geometry dense(KX_GeometryEngine_densify(env.get(), 0.25, ok()));
    EXPECT_EQ(kind_of(dense.get()), 4);
    EXPECT_EQ(part_points(dense.get(), 0).size(), 16u);
}

TEST(PlanarShape, DensifyOnlyAddsVertices) {
    // An invalid bow tie and a counter-clockwise ring keep their shape, rings and orientation.
    const char* bow_tie = R"({"rings":[[[0,0],[0,4],[4,0],[4,4]],[[10,10],[20,10],[20,20],[10,20]]]})";
    Geometry g = from_json(bow_tie);
    Geometry d(KX_GeometryEngine_densify(g.get(), 1.0, ok()));
    EXPECT_EQ(part_count(d.get()), 2u);
    const auto first = part_points(d.get(), 0), second = part_points(d.get(), 1);
    EXPECT_EQ(first.size(), 4u + 3 + 5 + 3 + 5);
    EXPECT_EQ(second.size(), 40u);
    EXPECT_EQ(first[4].x, 0.0);  // (0, 4) after the three vertices added on its way up
    EXPECT_EQ(first[4].y, 4.0);
    EXPECT_EQ(second[1].x, 11.0);
    EXPECT_EQ(second[1].y, 10.0);
}

TEST(PlanarShape, DensifyTurnsCurvesIntoVerticesOnTheCurveWithMAlong) {
    // A half circle of radius 10 about the origin, m from 0 to 100 along it.
    Geometry arc = from_json(R"({"hasM":true,"curvePaths":[[[10,0,0],{"c":[[-10,0,100],[0,10]]}]]})");
    Geometry d(KX_GeometryEngine_densify(arc.get(), 1.0, ok()));
    EXPECT_FALSE(KX_Geometry_getHasCurves(d.get(), ok()));
    const auto points = part_points(d.get(), 0);
    ASSERT_GT(points.size(), 31u);
    for (const auto& p : points) {
        const double r = std::hypot(p.x, p.y);
        EXPECT_LE(r, 10.0 + 1e-9);
        EXPECT_GE(r, 10.0 * (1 - 1e-3));  // chords within 0.1% of the radius
        EXPECT_GE(p.m, 0.0);
        EXPECT_LE(p.m, 100.0);
    }
    EXPECT_NEAR(points[points.size() / 2].m, 50.0, 5.0);
    EXPECT_NEAR(length_of(d.get()), M_PI * 10, M_PI * 10 * 1e-3);
}

TEST(PlanarShape, GeneralizeAsGeosDouglasPeucker) {
    Reference geos;
    const char* wiggly = R"({"hasM":true,"paths":[[[0,0,1],[1,0.1,2],[2,-0.1,3],[3,5,4],[4,6,5]],[[7,7,6],[7.01,7.01,7],[7,7,8]]]})";
    Geometry g = from_json(wiggly);
    Geometry r(KX_GeometryEngine_generalize(g.get(), 0, 0.5, ok()));
    const GEOSGeometry* expected = geos.keep(GEOSSimplify_r(
        geos.context(), geos.read("MULTILINESTRING((0 0,1 0.1,2 -0.1,3 5,4 6),(7 7,7.01 7.01,7 7))"), 0.5));
    EXPECT_NEAR(length_of(r.get()), geos.length(expected), 1e-9);
    EXPECT_EQ(part_points(r.get(), 0).back().m, 5.0);  // kept vertices keep their m
    // The collapsed second path stays unless degenerate parts are to go.
    EXPECT_EQ(part_count(r.get()), 2u);
    Geometry cleaned(KX_GeometryEngine_generalize(g.get(), 1, 0.5, ok()));
    EXPECT_EQ(part_count(cleaned.get()), 1u);
    Geometry p = point(1, 2);
    Geometry same(KX_GeometryEngine_generalize(p.get(), 0, 10, ok()));
    EXPECT_EQ(to_json(same.get()), to_json(p.get()));
}

TEST(PlanarShape, LabelPointLiesInsideThePolygon) {
    Geometry l = from_json(kLShape);
    Geometry label(KX_GeometryEngine_labelPoint(l.get(), ok()));
    EXPECT_EQ(kind_of(label.get()), 1);
    EXPECT_TRUE(KX_GeometryEngine_contains(l.get(), label.get(), ok()));
    Geometry env(KX_Envelope_createWithXY(0, 4, 0, 2, ok()));
    Geometry centre(KX_GeometryEngine_labelPoint(env.get(), ok()));
    EXPECT_EQ(KX_Point_getX(centre.get(), ok()), 2.0);
    EXPECT_EQ(KX_Point_getY(centre.get(), ok()), 1.0);
}

struct MeasureCase {
    const char* json;
    const char* wkt;
};

TEST(PlanarShape, AreaLengthAndDistanceAsGeos) {
    const MeasureCase kCases[] = {
        {kHoled, kHoledWkt}, {kLShape, kLShapeWkt}, {kLines, kLinesWkt},
        {R"({"points":[[1,2],[3,4]]})", "MULTIPOINT(1 2,3 4)"},
        {R"({"rings":[[[0,0],[10,0],[10,10],[0,10],[0,0]]]})", "POLYGON((0 0,10 0,10 10,0 10,0 0))"},
    };
    Reference geos;
    const GEOSGeometry* probe = geos.read("POINT(20 -3)");
    Geometry probe_point = point(20, -3);
    for (const auto& c : kCases) {
        Geometry g = from_json(c.json);
        const GEOSGeometry* r = geos.read(c.wkt);
        EXPECT_DOUBLE_EQ(area_of(g.get()), geos.area(r)) << c.wkt;
        EXPECT_DOUBLE_EQ(length_of(g.get()), geos.length(r)) << c.wkt;
        double d = 0;
        GEOSDistance_r(geos.context(), r, probe, &d);
        EXPECT_DOUBLE_EQ(KX_GeometryEngine_distance(g.get(), probe_point.get(), ok()), d) << c.wkt;
    }
    // A vertex without x or y is left out, as GEOS never sees it, whichever coordinate is missing.
    for (const char* json : {R"({"rings":[[[0,0],[0,10],[null,null],[10,10],[10,0],[0,0]]]})",
                             R"({"rings":[[[0,0],[0,10],[5,null],[10,10],[10,0],[0,0]]]})",
                             R"({"rings":[[[0,0],[null,3],[0,10],[10,10],[10,0],[0,0]]]})"}) {
        Geometry gap = from_json(json);
        EXPECT_DOUBLE_EQ(length_of(gap.get()), 40.0) << json;
        EXPECT_DOUBLE_EQ(area_of(gap.get()), 100.0) << json;
    }
    Geometry path_gap = from_json(R"({"paths":[[[0,0],[3,null],[0,10]]]})");
    EXPECT_DOUBLE_EQ(length_of(path_gap.get()), 10.0);
    Geometry env(KX_Envelope_createWithXY(0, 4, 0, 2, ok()));
    EXPECT_EQ(area_of(env.get()), 8.0);
    EXPECT_EQ(length_of(env.get()), 12.0);
}

struct CurveMeasure {
    const char* json;
    double area, length;
};

TEST(PlanarShape, ArcsMeasureExactly) {
    const double kHalfEllipse = 4.844224110273838;  // half the perimeter of the ellipse of axes 2 and 1
    const CurveMeasure kCases[] = {
        {R"({"curveRings":[[[1,0],{"a":[[1,0],[0,0],0,1]}]]})", M_PI, 2 * M_PI},
        // a half disc, its arc bulging out of the clockwise ring
        {R"({"curveRings":[[[-2,0],{"c":[[2,0],[0,2]]},[-2,0]]]})", 2 * M_PI, 2 * M_PI + 4},
        // a square with a half disc bitten out of it
        {R"({"curveRings":[[[2,0],[2,-4],[-2,-4],[-2,0],{"c":[[2,0],[0,-2]]}]]})", 16 - 2 * M_PI, 12 + 2 * M_PI},
        // half an ellipse, counter-clockwise and alone, so an exterior
        {R"({"curveRings":[[[2,0],{"a":[[-2,0],[0,0],0,0,0,2,0.5]},[2,0]]]})", M_PI, kHalfEllipse + 4},
        {R"({"curvePaths":[[[2,0],{"a":[[-2,0],[0,0],0,0,0,2,0.5]}]]})", 0, kHalfEllipse},
        {R"({"curvePaths":[[[0,0],{"c":[[2,0],[1,1]]},[3,0]]]})", 0, M_PI + 1},
        // two exteriors, the first with a circular hole: the holes' owners found as GEOS's are
        {R"({"curveRings":[[[-5,-5],[-5,5],[5,5],[5,-5],[-5,-5]],[[1,0],{"a":[[1,0],[0,0],0,0]}],[[21,0],{"a":[[21,0],[20,0],0,1]}]]})",
         100 - M_PI + M_PI, 40 + 4 * M_PI},
    };
    for (const auto& c : kCases) {
        Geometry g = from_json(c.json);
        EXPECT_NEAR(area_of(g.get()), c.area, 1e-12) << c.json;
        EXPECT_NEAR(length_of(g.get()), c.length, 1e-12) << c.json;
    }
}

}  // namespace
}  // namespace engine_test
