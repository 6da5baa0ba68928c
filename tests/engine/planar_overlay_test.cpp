// Overlays against GEOS itself, their result kinds, the spatial reference rule, m on surviving
// and new vertices, the split by dimension, clipping, and the union and extent of collections.
#include <nlohmann/json.hpp>

#include <functional>

#include "planar_test.h"

namespace engine_test {
namespace {

using OverlayFn = KX_GeometryHandle (*)(KX_GeometryHandle, KX_GeometryHandle, const KX_ErrorCallbackRecord*);
using GeosOverlayFn = GEOSGeometry* (*)(GEOSContextHandle_t, const GEOSGeometry*, const GEOSGeometry*);

struct Op {
    const char* name;
    OverlayFn engine;
    GeosOverlayFn geos;
};

const Op kIntersection{"intersection", KX_GeometryEngine_intersection, GEOSIntersection_r};
const Op kUnion{"union", KX_GeometryEngine_union, GEOSUnion_r};
const Op kDifference{"difference", KX_GeometryEngine_difference, GEOSDifference_r};
const Op kSymDifference{"symmetricDifference", KX_GeometryEngine_symmetricDifference, GEOSSymDifference_r};
const Op kOps[] = {kIntersection, kUnion, kDifference, kSymDifference};

constexpr const char* kShifted = R"({"rings":[[[5,5],[5,15],[15,15],[15,5],[5,5]]]})";
constexpr const char* kShiftedWkt = "POLYGON((5 5,5 15,15 15,15 5,5 5))";
constexpr const char* kLine = R"({"paths":[[[-5,5],[15,5]],[[1,1],[3,3]]]})";
constexpr const char* kLineWkt = "MULTILINESTRING((-5 5,15 5),(1 1,3 3))";
constexpr const char* kOtherLine = R"({"paths":[[[0,5],[20,5]]]})";
constexpr const char* kOtherLineWkt = "LINESTRING(0 5,20 5)";
constexpr const char* kPoints = R"({"points":[[1,1],[3,3],[30,30]]})";
constexpr const char* kPointsWkt = "MULTIPOINT(1 1,3 3,30 30)";
constexpr const char* kOtherPoints = R"({"points":[[3,3],[40,40]]})";
constexpr const char* kOtherPointsWkt = "MULTIPOINT(3 3,40 40)";

struct Case {
    Op op;
    const char* a;
    const char* a_wkt;
    const char* b;
    const char* b_wkt;
    int32_t kind;
};

// The engine's measure of its result and GEOS's of its own, of the result's dimension.
TEST(PlanarOverlay, ResultsMeasureAsGeos) {
    const Case kCases[] = {
        {kIntersection, kSquare, kSquareWkt, kShifted, kShiftedWkt, 4},
        {kUnion, kSquare, kSquareWkt, kShifted, kShiftedWkt, 4},
        {kDifference, kSquare, kSquareWkt, kShifted, kShiftedWkt, 4},
        {kSymDifference, kSquare, kSquareWkt, kShifted, kShiftedWkt, 4},
        {kIntersection, kHoled, kHoledWkt, kShifted, kShiftedWkt, 4},
        {kDifference, kHoled, kHoledWkt, kShifted, kShiftedWkt, 4},
        {kUnion, kHoled, kHoledWkt, kShifted, kShiftedWkt, 4},
        {kIntersection, kLine, kLineWkt, kHoled, kHoledWkt, 3},
        {kDifference, kLine, kLineWkt, kHoled, kHoledWkt, 3},
        {kUnion, kLine, kLineWkt, kOtherLine, kOtherLineWkt, 3},
        {kDifference, kLine, kLineWkt, kOtherLine, kOtherLineWkt, 3},
        {kSymDifference, kLine, kLineWkt, kOtherLine, kOtherLineWkt, 3},
        {kIntersection, kPoints, kPointsWkt, kHoled, kHoledWkt, 5},
        {kDifference, kPoints, kPointsWkt, kOtherPoints, kOtherPointsWkt, 5},
        {kUnion, kPoints, kPointsWkt, kOtherPoints, kOtherPointsWkt, 5},
        {kSymDifference, kPoints, kPointsWkt, kOtherPoints, kOtherPointsWkt, 5},
    };
    Reference geos;
    for (const auto& c : kCases) {
        Geometry a = from_json(c.a), b = from_json(c.b);
        Geometry r(c.op.engine(a.get(), b.get(), ok()));
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(kind_of(r.get()), c.kind) << c.op.name << " " << c.a_wkt << " / " << c.b_wkt;
        const GEOSGeometry* expected = geos.keep(c.op.geos(geos.context(), geos.read(c.a_wkt), geos.read(c.b_wkt)));
        if (c.kind == 4) {
            EXPECT_NEAR(area_of(r.get()), geos.area(expected), 1e-9) << c.op.name << " " << c.a_wkt;
        } else if (c.kind == 3) {
            EXPECT_NEAR(length_of(r.get()), geos.length(expected), 1e-9) << c.op.name << " " << c.a_wkt;
        } else {
            const auto points = nlohmann::json::parse(to_json(r.get()))["points"];
            EXPECT_EQ(static_cast<int>(points.size()), GEOSGetNumGeometries_r(geos.context(), expected)) << c.op.name;
        }
    }
}

struct KindCase {
    Op op;
    const char* a;
    const char* b;
    int32_t kind;  // 0: an engine error of mixed dimensions
    bool empty;
};

TEST(PlanarOverlay, ResultKindsFollowTheDimensions) {
    constexpr const char* kPoint = R"({"x":3,"y":3})";
    constexpr const char* kEnvelope = R"({"xmin":0,"ymin":0,"xmax":4,"ymax":4})";
    constexpr const char* kCrossing = R"({"paths":[[[5,-5],[5,15]]]})";
    const KindCase kCases[] = {
        // two crossing polylines meet in a point only: an empty polyline
        {kIntersection, kOtherLine, kCrossing, 3, true},
        {kIntersection, kSquare, kLine, 3, false},
        {kIntersection, kLine, kSquare, 3, false},
        {kIntersection, kPoint, kSquare, 1, false},
        {kIntersection, kPoint, kPoints, 1, false},
        {kIntersection, kPoints, kSquare, 5, false},
        {kIntersection, kEnvelope, kEnvelope, 4, false},
        {kIntersection, kEnvelope, kSquare, 4, false},
        {kIntersection, kSquare, R"({"rings":[[[20,20],[20,30],[30,30],[20,20]]]})", 4, true},
        {kDifference, kEnvelope, kShifted, 4, false},
        {kDifference, kPoint, kSquare, 1, true},
        {kDifference, kLine, kPoints, 3, false},
        {kDifference, kSquare, kLine, 4, false},
        {kUnion, kPoint, kPoint, 5, false},
        {kUnion, kEnvelope, kSquare, 4, false},
        {kUnion, kSquare, kLine, 0, false},
        {kUnion, kPoint, kLine, 0, false},
        {kSymDifference, kLine, kSquare, 0, false},
        {kSymDifference, kPoint, kPoints, 5, false},
    };
    for (const auto& c : kCases) {
        Geometry a = from_json(c.a), b = from_json(c.b);
        Errors errors;
        Geometry r(c.op.engine(a.get(), b.get(), errors.rec()));
        if (c.kind == 0) {
            EXPECT_EQ(r, nullptr);
            EXPECT_EQ(errors.only().code, KX_ERROR_GEOMETRY) << c.op.name << " " << c.a << " / " << c.b;
            continue;
        }
        ASSERT_NE(r, nullptr) << c.op.name << " " << c.a << " / " << c.b;
        EXPECT_EQ(kind_of(r.get()), c.kind) << c.op.name << " " << c.a << " / " << c.b;
        EXPECT_EQ(empty_geometry(r.get()), c.empty) << c.op.name << " " << c.a << " / " << c.b;
    }
}

TEST(PlanarOverlay, InvalidPolygonsAreRepairedRatherThanRefused) {
    // A bow tie (two triangles of area 4 meeting in (2, 2)) and two overlapping exteriors.
    Geometry bow_tie = from_json(R"({"rings":[[[0,0],[0,4],[4,0],[4,4],[0,0]]]})");
    Geometry overlapping = from_json(R"({"rings":[[[0,0],[0,4],[4,4],[4,0],[0,0]],[[2,2],[2,6],[6,6],[6,2],[2,2]]]})");
    Geometry box(KX_Envelope_createWithXY(-10, 10, -10, 10, ok()));
    Geometry a(KX_GeometryEngine_intersection(bow_tie.get(), box.get(), ok()));
    EXPECT_DOUBLE_EQ(area_of(a.get()), 8.0);
    Geometry b(KX_GeometryEngine_intersection(overlapping.get(), box.get(), ok()));
    EXPECT_DOUBLE_EQ(area_of(b.get()), 28.0);
    Geometry c(KX_GeometryEngine_buffer(overlapping.get(), 0.0, ok()));
    EXPECT_DOUBLE_EQ(area_of(c.get()), 28.0);
}

// Near the largest double GEOS's overlays overflow their orientation products, fail, and leaked
// what their noding had built (found by the fuzzer under the leak checker): overlays, unions and
// clips refuse coordinates past 1e100 with a geometry error and still answer at 1e100.
TEST(PlanarOverlay, CoordinatesWhoseProductsOverflowAreRefused) {
    const auto unite_all = [](KX_GeometryHandle a, KX_GeometryHandle b, const KX_ErrorCallbackRecord* rec) {
        Vector both = geometry_vector({a, b});
        return KX_GeometryEngine_unionCollection(both.get(), rec);
    };
    const auto clip = [](KX_GeometryHandle a, KX_GeometryHandle, const KX_ErrorCallbackRecord* rec) {
        Geometry box(KX_Envelope_createWithXY(-1, 1, -1, 1, ok()));
        return KX_GeometryEngine_clip(a, box.get(), rec);
    };
    const std::vector<std::function<KX_GeometryHandle(KX_GeometryHandle, KX_GeometryHandle, const KX_ErrorCallbackRecord*)>>
        operations = {KX_GeometryEngine_intersection, KX_GeometryEngine_union, KX_GeometryEngine_difference,
                      KX_GeometryEngine_symmetricDifference, unite_all, clip};
    Geometry square = from_json(kSquare);
    for (const char* magnitude : {"1e101", "1.7976931348623157e308", "1e100"}) {
        const bool refused = std::string(magnitude) != "1e100";
        Geometry wide = from_json(std::string(R"({"rings":[[[-5,-5],[-5,)") + magnitude + "],[" + magnitude + ",-5],[-5,-5]]]}");
        for (size_t i = 0; i < operations.size(); ++i) {
            Errors errors;
            Geometry r(operations[i](wide.get(), square.get(), errors.rec()));
            EXPECT_EQ(r == nullptr, refused) << "operation " << i << " at " << magnitude;
            if (refused) {
                EXPECT_EQ(errors.only().code, KX_ERROR_GEOMETRY) << "operation " << i << " at " << magnitude;
            }
        }
    }
}

TEST(PlanarOverlay, DifferentSpatialReferencesAreAnError) {
    Geometry a = from_json(R"({"rings":[[[0,0],[0,1],[1,1],[0,0]]],"spatialReference":{"wkid":4326}})");
    Geometry b = from_json(R"({"rings":[[[0,0],[0,1],[1,1],[0,0]]],"spatialReference":{"wkid":3857}})");
    Geometry bare = from_json(R"({"rings":[[[0,0],[0,1],[1,1],[0,0]]]})");
    for (const auto& op : kOps) {
        Errors errors;
        EXPECT_EQ(op.engine(a.get(), b.get(), errors.rec()), nullptr);
        EXPECT_EQ(errors.only().code, KX_ERROR_SPATIAL_REFERENCE) << op.name;
        // one without a reference takes the other's
        Geometry r(op.engine(bare.get(), a.get(), ok()));
        const auto json = nlohmann::json::parse(to_json(r.get()));
        EXPECT_EQ(json["spatialReference"]["wkid"], 4326) << op.name;
    }
}

TEST(PlanarOverlay, SurvivingVerticesKeepTheirMAndNewOnesHaveNone) {
    Geometry a = from_json(R"({"hasM":true,"hasZ":true,"rings":[[[0,0,1,10],[0,10,2,20],[10,10,3,30],[10,0,4,40],[0,0,1,10]]]})");
    Geometry b = from_json(kShifted);
    Geometry r(KX_GeometryEngine_intersection(a.get(), b.get(), ok()));
    const auto json = nlohmann::json::parse(to_json(r.get()));
    ASSERT_TRUE(json["hasM"].get<bool>());
    int surviving = 0;
    for (const auto& v : json["rings"][0]) {
        const double x = v[0], y = v[1];
        if (x == 10 && y == 10) {
            EXPECT_EQ(v[2], 3.0);
            EXPECT_EQ(v[3], 30.0);
            ++surviving;
        } else {
            EXPECT_TRUE(v[3].is_null()) << v.dump();
        }
    }
    EXPECT_EQ(surviving, 2);  // the first vertex repeated to close the written ring
}

bool counter_clockwise(Reference& geos, const nlohmann::json& ring) {
    std::string wkt = "LINEARRING(";
    for (const auto& v : ring) wkt += std::to_string(v[0].get<double>()) + " " + std::to_string(v[1].get<double>()) + ",";
    wkt.back() = ')';
    char ccw = 0;
    GEOSCoordSeq_isCCW_r(geos.context(), GEOSGeom_getCoordSeq_r(geos.context(), geos.read(wkt)), &ccw);
    return ccw != 0;
}

TEST(PlanarOverlay, ResultRingsRunClockwiseWithCounterClockwiseHoles) {
    Reference geos;
    Geometry holed = from_json(kHoled);
    Geometry box(KX_Envelope_createWithXY(-1, 8, -1, 8, ok()));
    // A polygon of one counter-clockwise ring is taken as an exterior, and comes back clockwise.
    Geometry ccw = from_json(R"({"rings":[[[0,0],[10,0],[10,10],[0,10],[0,0]]]})");
    Geometry results[] = {Geometry(KX_GeometryEngine_intersection(holed.get(), box.get(), ok())),
                          Geometry(KX_GeometryEngine_clip(holed.get(), box.get(), ok())),
                          Geometry(KX_GeometryEngine_buffer(ccw.get(), 1.0, ok())),
                          Geometry(KX_GeometryEngine_simplify(ccw.get(), ok()))};
    for (const auto& r : results) {
        const auto rings = nlohmann::json::parse(to_json(r.get()))["rings"];
        ASSERT_GE(rings.size(), 1u);
        for (size_t i = 0; i < rings.size(); ++i) EXPECT_EQ(counter_clockwise(geos, rings[i]), i > 0) << rings.dump();
    }
}

TEST(PlanarOverlay, IntersectionsComePointsFirstThenLinesThenAreas) {
    // Two squares sharing an area, an edge stretch and a corner point.
    Geometry a = from_json(R"({"rings":[[[0,0],[0,10],[10,10],[10,0],[0,0]],[[20,0],[20,10],[30,10],[30,0],[20,0]]]})");
    Geometry b = from_json(R"({"rings":[[[5,0],[5,5],[15,5],[15,-5],[5,0]],[[-10,10],[-10,20],[0,20],[0,10],[-10,10]],[[30,2],[30,8],[40,8],[40,2],[30,2]]]})");
    auto results = items_of(KX_GeometryEngine_intersections(a.get(), b.get(), ok()));
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(kind_of(results[0].get()), 5);
    EXPECT_EQ(kind_of(results[1].get()), 3);
    EXPECT_EQ(kind_of(results[2].get()), 4);
    EXPECT_DOUBLE_EQ(length_of(results[1].get()), 6.0);
    Geometry far = point(100, 100);
    EXPECT_TRUE(items_of(KX_GeometryEngine_intersections(a.get(), far.get(), ok())).empty());
}

TEST(PlanarOverlay, ClipMatchesGeosAndKeepsWhatLiesInside) {
    Reference geos;
    Geometry box(KX_Envelope_createWithXY(2, 8, -1, 7, ok()));
    Geometry holed = from_json(kHoled);
    Geometry clipped(KX_GeometryEngine_clip(holed.get(), box.get(), ok()));
    EXPECT_EQ(kind_of(clipped.get()), 4);
    EXPECT_NEAR(area_of(clipped.get()),
                geos.area(geos.keep(GEOSClipByRect_r(geos.context(), geos.read(kHoledWkt), 2, -1, 8, 7))), 1e-9);

    // Wholly inside: the same geometry, curves and all.
    const char* curved = R"({"curvePaths":[[[3,3],{"c":[[5,3],[4,4]]},[6,2]]]})";
    Geometry arc = from_json(curved);
    Geometry whole(KX_GeometryEngine_clip(arc.get(), box.get(), ok()));
    Geometry original = from_json(curved);
    EXPECT_EQ(to_json(whole.get()), to_json(original.get()));

    // Nothing inside: an empty geometry of the same kind.
    Geometry far = from_json(R"({"paths":[[[50,50],[60,60]]]})");
    Geometry none(KX_GeometryEngine_clip(far.get(), box.get(), ok()));
    EXPECT_EQ(kind_of(none.get()), 3);
    EXPECT_TRUE(empty_geometry(none.get()));

    // An envelope clips to an envelope.
    Geometry other(KX_Envelope_createWithXY(0, 4, 0, 4, ok()));
    Geometry env(KX_GeometryEngine_clip(other.get(), box.get(), ok()));
    EXPECT_EQ(kind_of(env.get()), 2);
    EXPECT_EQ(KX_Envelope_getXMin(env.get(), ok()), 2.0);
    EXPECT_EQ(KX_Envelope_getYMax(env.get(), ok()), 4.0);
}

TEST(PlanarOverlay, ClipInterpolatesZAndMWhereItCutsASegment) {
    Geometry line = from_json(R"({"hasZ":true,"hasM":true,"paths":[[[0,0,0,0],[10,0,100,10]]]})");
    Geometry box(KX_Envelope_createWithXY(-1, 4, -1, 1, ok()));
    Geometry r(KX_GeometryEngine_clip(line.get(), box.get(), ok()));
    const auto points = part_points(r.get(), 0);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[1].x, 4.0);
    EXPECT_NEAR(points[1].z, 40.0, 1e-9);
    EXPECT_NEAR(points[1].m, 4.0, 1e-9);
    EXPECT_EQ(points[0].m, 0.0);
}

TEST(PlanarOverlay, UnionOfACollection) {
    Reference geos;
    Geometry a = from_json(kSquare), b = from_json(kShifted), line = from_json(kLine);
    Vector both = geometry_vector({a.get(), b.get()});
    Geometry u(KX_GeometryEngine_unionCollection(both.get(), ok()));
    EXPECT_NEAR(area_of(u.get()), geos.area(geos.keep(GEOSUnion_r(geos.context(), geos.read(kSquareWkt), geos.read(kShiftedWkt)))), 1e-9);

    Vector none = geometry_vector({});
    Errors empty_errors;
    EXPECT_EQ(KX_GeometryEngine_unionCollection(none.get(), empty_errors.rec()), nullptr);
    EXPECT_EQ(empty_errors.only().code, KX_ERROR_INVALID_ARGUMENT);

    Vector mixed = geometry_vector({a.get(), line.get()});
    Errors mixed_errors;
    EXPECT_EQ(KX_GeometryEngine_unionCollection(mixed.get(), mixed_errors.rec()), nullptr);
    EXPECT_EQ(mixed_errors.only().code, KX_ERROR_GEOMETRY);

    Vector numbers = float_vector({1.0});
    Errors type_errors;
    EXPECT_EQ(KX_GeometryEngine_unionCollection(numbers.get(), type_errors.rec()), nullptr);
    EXPECT_EQ(type_errors.only().code, KX_ERROR_INVALID_ARGUMENT);
}

TEST(PlanarOverlay, CombinedExtentsIncludeCurvesAndSkipEmpties) {
    Geometry arc = from_json(R"({"curvePaths":[[[0,0],{"c":[[2,0],[1,1]]}]]})");
    Geometry p = point(5, -3);
    Geometry empty = from_json(R"({"points":[]})");
    Geometry e(KX_GeometryEngine_combineExtents(arc.get(), p.get(), ok()));
    EXPECT_EQ(kind_of(e.get()), 2);
    EXPECT_EQ(KX_Envelope_getXMin(e.get(), ok()), 0.0);
    EXPECT_EQ(KX_Envelope_getYMin(e.get(), ok()), -3.0);
    EXPECT_NEAR(KX_Envelope_getYMax(e.get(), ok()), 1.0, 1e-12);
    Vector all = geometry_vector({empty.get(), arc.get(), p.get()});
    Geometry c(KX_GeometryEngine_combineExtentsCollection(all.get(), ok()));
    EXPECT_EQ(KX_Envelope_getXMax(c.get(), ok()), 5.0);
    Vector none = geometry_vector({empty.get()});
    Geometry n(KX_GeometryEngine_combineExtentsCollection(none.get(), ok()));
    EXPECT_TRUE(std::isnan(KX_Envelope_getXMin(n.get(), ok())));
}

}  // namespace
}  // namespace engine_test
