// Building polylines, polygons and multipoints through parts, collections and builders, and
// reading them back part by part and point by point.
#include "engine_test.h"

namespace engine_test {
namespace {

using PartsTest = EngineTest;

struct RingCase {
    const char* name;
    bool polygon;
    std::vector<Vertex> points;
    uint64_t stored;               // points the part reports
    int64_t segment_ending_at_0;   // getSegmentIndexFromEndPointIndex(0)
    uint64_t segments;
};

TEST_F(PartsTest, RingsAreStoredWithoutTheirClosingPoint) {
    const RingCase cases[] = {
        {"closed ring", true, {{0, 0}, {1, 0}, {1, 1}, {0, 0}}, 3, 2, 3},
        {"open ring", true, {{0, 0}, {1, 0}, {1, 1}}, 3, 2, 3},
        {"closing point differs only in z", true, {{0, 0, 1}, {1, 0, 2}, {1, 1, 3}, {0, 0, 9}}, 3, 2, 3},
        {"closing point off by a little", true, {{0, 0}, {1, 0}, {1, 1}, {0, 1e-12}}, 4, 3, 4},
        {"ring collapsed to a line keeps its closing point", true, {{0, 0}, {1, 0}, {0, 0}}, 3, 2, 3},
        {"two equal points", true, {{2, 2}, {2, 2}}, 1, 0, 1},
        {"single point", true, {{2, 2}}, 1, 0, 1},
        {"closed path", false, {{0, 0}, {1, 0}, {0, 0}}, 3, -1, 2},
        {"open path", false, {{0, 0}, {1, 0}, {1, 1}}, 3, -1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Geometry g = multipart(c.polygon, {c.points}, true);
        ImmutablePart part = part_of(g.get(), 0);
        EXPECT_EQ(KX_ImmutablePart_getPointCount(part.get(), ok()), c.stored);
        EXPECT_EQ(KX_ImmutablePart_getSegmentIndexFromEndPointIndex(part.get(), 0, ok()), c.segment_ending_at_0);
        Segment last(KX_ImmutablePart_getSegment(part.get(), c.segments - 1, ok()));
        EXPECT_EQ(KX_Segment_getObjectType(last.get(), ok()), KX_SEGMENT_TYPE_LINE);
        Errors errors;
        EXPECT_EQ(KX_ImmutablePart_getSegment(part.get(), c.segments, errors.rec()), nullptr);
        EXPECT_EQ(errors.only().code, KX_ERROR_INDEX_OUT_OF_RANGE);
        // The first point keeps its own z when the closing one is merged into it.
        expect_same(part_points(g.get(), 0).front().z, c.points.front().z);
    }
}

TEST_F(PartsTest, RingsAreWrittenClosed) {
    Geometry open = multipart(true, {{{0, 0}, {1, 0}, {1, 1}}});
    Geometry closed = multipart(true, {{{0, 0}, {1, 0}, {1, 1}, {0, 0}}});
    EXPECT_EQ(to_json(open.get()), R"({"rings":[[[0.0,0.0],[1.0,0.0],[1.0,1.0],[0.0,0.0]]]})");
    EXPECT_EQ(to_json(closed.get()), to_json(open.get()));
}

TEST_F(PartsTest, CurveEndingAtTheFirstPointBecomesTheClosingSegment) {
    Geometry a = point(0, 0), b = point(2, 0), below = point(1, -1);
    Segment arc(KX_EllipticArcSegment_createCircularEllipticArcWithStartEndAndInterior(b.get(), a.get(), below.get(),
                                                                                       nullptr, ok()));
    for (bool polygon : {true, false}) {
        SCOPED_TRACE(polygon ? "polygon" : "polyline");
        Builder builder(polygon ? KX_PolygonBuilder_createFromSpatialReference(nullptr, ok())
                                : KX_PolylineBuilder_createFromSpatialReference(nullptr, ok()));
        MutableParts parts(KX_MutablePartCollection_createWithSpatialReference(nullptr, ok()));
        MutablePart part(KX_MutablePart_createWithSpatialReference(nullptr, ok()));
        KX_MutablePart_addPointXY(part.get(), 0, 0, ok());
        KX_MutablePart_addPointXY(part.get(), 2, 0, ok());
        KX_MutablePart_addSegment(part.get(), arc.get(), ok());
        KX_MutablePartCollection_addPart(parts.get(), part.get(), ok());
        KX_MultipartBuilder_setParts(builder.get(), parts.get(), ok());
        Geometry g(KX_GeometryBuilder_toGeometry(builder.get(), ok()));
        ImmutablePart read = part_of(g.get(), 0);
        // A path keeps its last point; a ring merges it and closes with the arc.
        EXPECT_EQ(KX_ImmutablePart_getPointCount(read.get(), ok()), polygon ? 2u : 3u);
        EXPECT_EQ(KX_ImmutablePart_getSegmentIndexFromEndPointIndex(read.get(), 0, ok()), polygon ? 1 : -1);
        Segment closing(KX_ImmutablePart_getSegment(read.get(), 1, ok()));
        EXPECT_EQ(KX_Segment_getObjectType(closing.get(), ok()), KX_SEGMENT_TYPE_ELLIPTIC_ARC);
        EXPECT_NEAR(KX_EllipticArcSegment_getCentralAngle(closing.get(), ok()), -M_PI, 1e-15);
    }
}

struct DimsCase {
    bool has_z, has_m;
};

TEST_F(PartsTest, DimensionsTravelFromPointsToGeometryAndBack) {
    for (const DimsCase d : {DimsCase{false, false}, {true, false}, {false, true}, {true, true}}) {
        for (bool polygon : {false, true}) {
            SCOPED_TRACE(testing::Message() << "z " << d.has_z << " m " << d.has_m << " polygon " << polygon);
            Geometry g = multipart(polygon, {{{0, 0, 1, 5}, {1, 0, 2, 6}, {1, 1, 3, 7}}}, d.has_z, d.has_m);
            EXPECT_EQ(KX_Geometry_getObjectType(g.get(), ok()), polygon ? KX_GEOMETRY_TYPE_POLYGON : KX_GEOMETRY_TYPE_POLYLINE);
            EXPECT_EQ(KX_Geometry_getHasZ(g.get(), ok()), d.has_z);
            EXPECT_EQ(KX_Geometry_getHasM(g.get(), ok()), d.has_m);
            ImmutablePart part = part_of(g.get(), 0);
            Geometry p(KX_ImmutablePart_getPoint(part.get(), 2, ok()));
            EXPECT_EQ(KX_Geometry_getHasZ(p.get(), ok()), d.has_z);
            EXPECT_EQ(KX_Geometry_getHasM(p.get(), ok()), d.has_m);
            expect_same(KX_Point_getZ(p.get(), ok()), d.has_z ? 3 : NAN);
            expect_same(KX_Point_getM(p.get(), ok()), d.has_m ? 7 : NAN);
        }
    }
}

TEST_F(PartsTest, EmptyXYZPolylineStaysXYZ) {
    Geometry g = from_json(R"({"hasZ":true,"paths":[]})");
    EXPECT_EQ(KX_Geometry_getHasZ(g.get(), ok()), 1);
    EXPECT_EQ(to_json(g.get()), R"({"hasZ":true,"paths":[]})");
}

TEST_F(PartsTest, ArgumentsAreLentAndBuildersBuildAgain) {
    Builder builder(KX_PolylineBuilder_createFromSpatialReference(nullptr, ok()));
    {
        MutableParts parts(KX_MutablePartCollection_createWithSpatialReference(nullptr, ok()));
        MutablePart part(KX_MutablePart_createWithSpatialReference(nullptr, ok()));
        Geometry p = point(1, 2);
        KX_MutablePart_addPoint(part.get(), p.get(), ok());
        p.reset();
        KX_MutablePart_addPointXY(part.get(), 3, 4, ok());
        KX_MutablePartCollection_addPart(parts.get(), part.get(), ok());
        // A part changed after it was added leaves the collection's copy alone.
        KX_MutablePart_addPointXY(part.get(), 5, 6, ok());
        part.reset();
        EXPECT_EQ(KX_MutablePartCollection_getSize(parts.get(), ok()), 1u);
        MutablePart copy(KX_MutablePartCollection_getPart(parts.get(), 0, ok()));
        KX_MutablePart_addPointXY(copy.get(), 7, 8, ok());
        KX_MultipartBuilder_setParts(builder.get(), parts.get(), ok());
        Errors errors;
        EXPECT_EQ(KX_MutablePartCollection_getPart(parts.get(), 1, errors.rec()), nullptr);
        EXPECT_EQ(errors.only().code, KX_ERROR_INDEX_OUT_OF_RANGE);
    }
    Geometry first(KX_GeometryBuilder_toGeometry(builder.get(), ok()));
    Geometry second(KX_GeometryBuilder_toGeometry(builder.get(), ok()));
    builder.reset();
    EXPECT_NE(first.get(), second.get());
    EXPECT_EQ(to_json(first.get()), R"({"paths":[[[1.0,2.0],[3.0,4.0]]]})");
    EXPECT_EQ(to_json(second.get()), to_json(first.get()));
}

// A builder that was the only holder of its parts hands them to its geometry and reads them from
// there: building again, before or after that geometry ends, closes no ring a second time (a ring
// whose last two points equal its first would lose one more) and leaves the first geometry alone.
TEST_F(PartsTest, PolygonBuildersBuildTheSameRingsAgain) {
    Builder builder(KX_PolygonBuilder_createFromSpatialReference(nullptr, ok()));
    {
        MutableParts parts(KX_MutablePartCollection_createWithSpatialReference(nullptr, ok()));
        MutablePart part(KX_MutablePart_createWithSpatialReference(nullptr, ok()));
        for (auto [x, y] : {std::pair{0.0, 0.0}, {0.0, 4.0}, {4.0, 4.0}, {0.0, 0.0}, {0.0, 0.0}})
            KX_MutablePart_addPointXY(part.get(), x, y, ok());
        KX_MutablePartCollection_addPart(parts.get(), part.get(), ok());
        KX_MultipartBuilder_setParts(builder.get(), parts.get(), ok());
    }
    const char* kRing = R"({"rings":[[[0.0,0.0],[0.0,4.0],[4.0,4.0],[0.0,0.0],[0.0,0.0]]]})";
    Geometry first(KX_GeometryBuilder_toGeometry(builder.get(), ok()));
    Geometry second(KX_GeometryBuilder_toGeometry(builder.get(), ok()));
    EXPECT_EQ(to_json(first.get()), kRing);
    EXPECT_EQ(to_json(second.get()), kRing);
    first.reset();
    second.reset();
    Geometry third(KX_GeometryBuilder_toGeometry(builder.get(), ok()));
    builder.reset();
    EXPECT_EQ(to_json(third.get()), kRing);
}

TEST_F(PartsTest, ReadOnlyCollectionsOutliveTheirGeometry) {
    Geometry g = multipart(false, {{{0, 0}, {1, 1}}, {{2, 2}, {3, 3}, {4, 4}}});
    ImmutableParts parts(KX_Multipart_getParts(g.get(), ok()));
    g.reset();
    ASSERT_EQ(KX_ImmutablePartCollection_getSize(parts.get(), ok()), 2u);
    ImmutablePart part(KX_ImmutablePartCollection_getPart(parts.get(), 1, ok()));
    parts.reset();
    ImmutablePoints points(KX_ImmutablePart_getPoints(part.get(), ok()));
    part.reset();
    ASSERT_EQ(KX_ImmutablePointCollection_getSize(points.get(), ok()), 3u);
    Geometry p(KX_ImmutablePointCollection_getPoint(points.get(), 2, ok()));
    EXPECT_EQ(KX_Point_getX(p.get(), ok()), 4);
}

TEST_F(PartsTest, IndexesOutOfRangeAreEngineErrors) {
    Geometry g = multipart(false, {{{0, 0}, {1, 1}}});
    ImmutableParts parts(KX_Multipart_getParts(g.get(), ok()));
    ImmutablePart part = part_of(g.get(), 0);
    ImmutablePoints points(KX_ImmutablePart_getPoints(part.get(), ok()));
    Errors errors;
    EXPECT_EQ(KX_ImmutablePartCollection_getPart(parts.get(), 1, errors.rec()), nullptr);
    EXPECT_EQ(KX_ImmutablePart_getPoint(part.get(), 2, errors.rec()), nullptr);
    EXPECT_EQ(KX_ImmutablePart_getSegment(part.get(), 1, errors.rec()), nullptr);
    EXPECT_EQ(KX_ImmutablePart_getSegmentIndexFromEndPointIndex(part.get(), 2, errors.rec()), 0);
    EXPECT_EQ(KX_ImmutablePointCollection_getPoint(points.get(), UINT64_MAX, errors.rec()), nullptr);
    ASSERT_EQ(errors.all().size(), 5u);
    for (const auto& e : errors.all()) EXPECT_EQ(e.code, KX_ERROR_INDEX_OUT_OF_RANGE) << e.message;
    EXPECT_EQ(KX_ImmutablePart_getIsEmpty(part.get(), ok()), 0);
    EXPECT_EQ(KX_ImmutablePart_getHasCurves(part.get(), ok()), 0);
}

TEST_F(PartsTest, AddSegmentChainsFromTheLastPoint) {
    Geometry a = point(0, 0), b = point(1, 1), c = point(2, 0), far = point(5, 5);
    Segment ab(KX_CubicBezierSegment_create(a.get(), a.get(), b.get(), b.get(), nullptr, ok()));
    Segment bc(KX_EllipticArcSegment_createCircularEllipticArcWithStartEndAndInterior(b.get(), c.get(), point(1.5, 0.9).get(),
                                                                                      nullptr, ok()));
    Segment elsewhere(KX_CubicBezierSegment_create(far.get(), far.get(), a.get(), a.get(), nullptr, ok()));
    MutablePart part(KX_MutablePart_createWithSpatialReference(nullptr, ok()));
    KX_MutablePart_addSegment(part.get(), ab.get(), ok());  // adds (0, 0) too
    KX_MutablePart_addSegment(part.get(), bc.get(), ok());
    Errors errors;
    KX_MutablePart_addSegment(part.get(), elsewhere.get(), errors.rec());
    EXPECT_EQ(errors.only().message, "The segment does not start at the last point of the part.");
    KX_MutablePart_addPointXY(part.get(), 3, 0, ok());

    Builder builder(KX_PolylineBuilder_createFromSpatialReference(nullptr, ok()));
    MutableParts parts(KX_MutablePartCollection_createWithSpatialReference(nullptr, ok()));
    KX_MutablePartCollection_addPart(parts.get(), part.get(), ok());
    KX_MultipartBuilder_setParts(builder.get(), parts.get(), ok());
    Geometry g(KX_GeometryBuilder_toGeometry(builder.get(), ok()));
    EXPECT_EQ(KX_Geometry_getHasCurves(g.get(), ok()), 1);
    ImmutablePart read = part_of(g.get(), 0);
    EXPECT_EQ(KX_ImmutablePart_getPointCount(read.get(), ok()), 4u);
    EXPECT_EQ(KX_ImmutablePart_getHasCurves(read.get(), ok()), 1);
    const int32_t kinds[] = {KX_SEGMENT_TYPE_CUBIC_BEZIER, KX_SEGMENT_TYPE_ELLIPTIC_ARC, KX_SEGMENT_TYPE_LINE};
    for (uint64_t i = 0; i < 3; ++i) {
        EXPECT_EQ(KX_ImmutablePart_getSegmentIndexFromEndPointIndex(read.get(), i + 1, ok()), static_cast<int64_t>(i));
        Segment s(KX_ImmutablePart_getSegment(read.get(), i, ok()));
        EXPECT_EQ(KX_Segment_getObjectType(s.get(), ok()), kinds[i]);
    }
}

TEST_F(PartsTest, MultipointsKeepTheirPointsAndDimensions) {
    Builder builder(KX_MultipointBuilder_createFromSpatialReference(nullptr, ok()));
    MutablePoints points(KX_MutablePointCollection_createWithSpatialReference(nullptr, ok()));
    for (double x : {1.0, 2.0, 3.0}) {
        Geometry p(KX_Point_createWithZM(x, -x, 10 * x, 100 * x, ok()));
        KX_MutablePointCollection_addPoint(points.get(), p.get(), ok());
    }
    KX_MultipointBuilder_setPoints(builder.get(), points.get(), ok());
    points.reset();
    Geometry g(KX_GeometryBuilder_toGeometry(builder.get(), ok()));
    EXPECT_EQ(KX_Geometry_getObjectType(g.get(), ok()), KX_GEOMETRY_TYPE_MULTIPOINT);
    EXPECT_EQ(KX_Geometry_getHasZ(g.get(), ok()), 1);
    EXPECT_EQ(KX_Geometry_getHasM(g.get(), ok()), 1);
    ImmutablePoints read(KX_Multipoint_getPoints(g.get(), ok()));
    ASSERT_EQ(KX_ImmutablePointCollection_getSize(read.get(), ok()), 3u);
    Geometry p(KX_ImmutablePointCollection_getPoint(read.get(), 1, ok()));
    EXPECT_EQ(KX_Point_getZ(p.get(), ok()), 20);
    EXPECT_EQ(KX_Point_getM(p.get(), ok()), 200);
}

TEST_F(PartsTest, BuildersRefuseTheOtherKindsInput) {
    Builder multipoint(KX_MultipointBuilder_createFromSpatialReference(nullptr, ok()));
    Builder polygon(KX_PolygonBuilder_createFromSpatialReference(nullptr, ok()));
    MutableParts parts(KX_MutablePartCollection_createWithSpatialReference(nullptr, ok()));
    MutablePoints points(KX_MutablePointCollection_createWithSpatialReference(nullptr, ok()));
    Errors errors;
    KX_MultipartBuilder_setParts(multipoint.get(), parts.get(), errors.rec());
    KX_MultipointBuilder_setPoints(polygon.get(), points.get(), errors.rec());
    EXPECT_EQ(errors.all().size(), 2u);
    // A builder given nothing builds the empty geometry of its kind.
    Geometry empty(KX_GeometryBuilder_toGeometry(polygon.get(), ok()));
    EXPECT_EQ(KX_Geometry_getObjectType(empty.get(), ok()), KX_GEOMETRY_TYPE_POLYGON);
    EXPECT_EQ(to_json(empty.get()), R"({"rings":[]})");
}

TEST_F(PartsTest, HandlesOfAnotherClassAreRefused) {
    Geometry p = point(1, 2);
    Errors errors;
    KX_MutablePart_destroy(reinterpret_cast<KX_MutablePartHandle>(p.get()), errors.rec());
    KX_Multipart_getParts(p.get(), errors.rec());
    KX_Multipoint_getPoints(p.get(), errors.rec());
    ASSERT_EQ(errors.all().size(), 3u);
    for (const auto& e : errors.all()) EXPECT_EQ(e.code, KX_ERROR_INVALID_HANDLE);
    EXPECT_EQ(KX_Point_getX(p.get(), ok()), 1);
}

}  // namespace
}  // namespace engine_test
