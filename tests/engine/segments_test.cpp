// Curve segments: the constructors keep the points they are given; arcs report radians, a signed
// central angle never wrapped, the minor flag below a half turn, and circles as circular.
#include "engine_test.h"

namespace engine_test {
namespace {

using SegmentsTest = EngineTest;

constexpr double kPi = M_PI;

Segment arc_about(Vertex start, Vertex end, Vertex centre, bool minor, bool ccw) {
    Geometry s = point(start.x, start.y), e = point(end.x, end.y), c = point(centre.x, centre.y);
    return Segment(KX_EllipticArcSegment_createCircularEllipticArcWithCenter(s.get(), e.get(), c.get(), minor, ccw,
                                                                             nullptr, ok()));
}

// The interior point the data model derives from an arc: at the mean of its start and end angles.
Vertex interior_of(KX_SegmentHandle arc) {
    Geometry c(KX_EllipticArcSegment_getCenterPoint(arc, ok()));
    const double t = (KX_EllipticArcSegment_getStartAngle(arc, ok()) + KX_EllipticArcSegment_getEndAngle(arc, ok())) / 2;
    const double r = KX_EllipticArcSegment_getSemiMajorAxis(arc, ok());
    return {KX_Point_getX(c.get(), ok()) + r * std::cos(t), KX_Point_getY(c.get(), ok()) + r * std::sin(t)};
}

struct ArcCase {
    const char* name;
    Vertex start, end, centre;
    bool ccw;
    double start_angle, central;
    Vertex interior;
};

TEST_F(SegmentsTest, CircularArcsAboutACentre) {
    const double h = std::sqrt(0.5);
    const ArcCase cases[] = {
        {"quarter from 0 to pi/2", {1, 0}, {0, 1}, {0, 0}, true, 0, kPi / 2, {h, h}},
        {"three quarters clockwise", {1, 0}, {0, 1}, {0, 0}, false, 0, -3 * kPi / 2, {-h, -h}},
        {"across the negative x axis, not wrapped", {-1, 1}, {-1, -1}, {0, 0}, true, 3 * kPi / 4, kPi / 2, {-std::sqrt(2.0), 0}},
        {"half turn", {2, 1}, {0, 1}, {1, 1}, true, 0, kPi, {1, 2}},
        {"full circle", {1, 0}, {1, 0}, {0, 0}, false, 0, -2 * kPi, {-1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Segment arc = arc_about(c.start, c.end, c.centre, true, c.ccw);
        ASSERT_NE(arc, nullptr);
        EXPECT_EQ(KX_Segment_getObjectType(arc.get(), ok()), KX_SEGMENT_TYPE_ELLIPTIC_ARC);
        EXPECT_EQ(KX_EllipticArcSegment_getIsCircular(arc.get(), ok()), 1);
        EXPECT_EQ(KX_EllipticArcSegment_getIsCounterClockwise(arc.get(), ok()), c.ccw);
        EXPECT_EQ(KX_EllipticArcSegment_getMinorMajorRatio(arc.get(), ok()), 1);
        EXPECT_NEAR(KX_EllipticArcSegment_getStartAngle(arc.get(), ok()), c.start_angle, 1e-15);
        EXPECT_NEAR(KX_EllipticArcSegment_getCentralAngle(arc.get(), ok()), c.central, 1e-15);
        EXPECT_EQ(KX_EllipticArcSegment_getEndAngle(arc.get(), ok()),
                  KX_EllipticArcSegment_getStartAngle(arc.get(), ok()) + KX_EllipticArcSegment_getCentralAngle(arc.get(), ok()));
        const Vertex interior = interior_of(arc.get());
        EXPECT_NEAR(interior.x, c.interior.x, 1e-15);
        EXPECT_NEAR(interior.y, c.interior.y, 1e-15);
    }
}

TEST_F(SegmentsTest, QuarterArcReadsBackItsInteriorExactly) {
    Segment arc = arc_about({1, 0}, {0, 1}, {0, 0}, true, true);
    EXPECT_EQ(KX_EllipticArcSegment_getStartAngle(arc.get(), ok()), 0);
    EXPECT_EQ(KX_EllipticArcSegment_getEndAngle(arc.get(), ok()), kPi / 2);
    const Vertex interior = interior_of(arc.get());
    EXPECT_DOUBLE_EQ(interior.x, std::cos(kPi / 4));
    EXPECT_DOUBLE_EQ(interior.y, std::sin(kPi / 4));
}

TEST_F(SegmentsTest, ArcThroughAnInteriorPointRunsThroughIt) {
    struct Case {
        Vertex start, end, interior;
        bool ccw;
        double central;
    };
    const Case cases[] = {
        {{1, 0}, {-1, 0}, {0, 1}, true, kPi},
        {{1, 0}, {-1, 0}, {0, -1}, false, -kPi},
        {{1, 0}, {0, 1}, {-1, 0}, false, -3 * kPi / 2},
        {{1, 0}, {1, 0}, {-1, 0}, true, 2 * kPi},
    };
    for (const auto& c : cases) {
        Geometry s = point(c.start.x, c.start.y), e = point(c.end.x, c.end.y), i = point(c.interior.x, c.interior.y);
        Segment arc(KX_EllipticArcSegment_createCircularEllipticArcWithStartEndAndInterior(s.get(), e.get(), i.get(),
                                                                                           nullptr, ok()));
        EXPECT_EQ(KX_EllipticArcSegment_getIsCounterClockwise(arc.get(), ok()), c.ccw);
        EXPECT_NEAR(KX_EllipticArcSegment_getCentralAngle(arc.get(), ok()), c.central, 1e-15);
        EXPECT_NEAR(KX_EllipticArcSegment_getSemiMajorAxis(arc.get(), ok()), 1, 1e-15);
    }
}

TEST_F(SegmentsTest, CentralAngleOfExactlyPiIsNotMinor) {
    Geometry s = point(2, 0), e = point(-2, 0);
    for (bool minor : {true, false}) {
        Segment arc(KX_EllipticArcSegment_createWithStartAndEndpoints(s.get(), e.get(), minor, true, nullptr, 0, 2, 0.5,
                                                                      ok()));
        const double central = KX_EllipticArcSegment_getCentralAngle(arc.get(), ok());
        EXPECT_EQ(std::abs(central), kPi);
        EXPECT_FALSE(std::abs(central) < kPi);  // the minor test callers apply
        EXPECT_EQ(KX_EllipticArcSegment_getIsCircular(arc.get(), ok()), 0);
    }
}

TEST_F(SegmentsTest, EllipticArcBetweenEndPoints) {
    struct Case {
        bool minor, ccw;
        double central;
        Vertex centre;
    };
    // An ellipse of axes 2 and 1 through (2, 0) and (0, 1): centred on the origin or on (2, 1).
    const Case cases[] = {
        {true, true, kPi / 2, {0, 0}},
        {false, true, 3 * kPi / 2, {2, 1}},
        {true, false, -kPi / 2, {2, 1}},
        {false, false, -3 * kPi / 2, {0, 0}},
    };
    Geometry s(KX_Point_createWithZM(2, 0, 7, 8, ok())), e = point(0, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "minor " << c.minor << " ccw " << c.ccw);
        Segment arc(KX_EllipticArcSegment_createWithStartAndEndpoints(s.get(), e.get(), c.minor, c.ccw, nullptr, 0, 2,
                                                                      0.5, ok()));
        EXPECT_NEAR(KX_EllipticArcSegment_getCentralAngle(arc.get(), ok()), c.central, 1e-12);
        EXPECT_EQ(KX_EllipticArcSegment_getIsCounterClockwise(arc.get(), ok()), c.ccw);
        EXPECT_EQ(KX_EllipticArcSegment_getSemiMajorAxis(arc.get(), ok()), 2);
        EXPECT_EQ(KX_EllipticArcSegment_getMinorMajorRatio(arc.get(), ok()), 0.5);
        EXPECT_EQ(KX_EllipticArcSegment_getRotationAngle(arc.get(), ok()), 0);
        Geometry centre(KX_EllipticArcSegment_getCenterPoint(arc.get(), ok()));
        EXPECT_NEAR(KX_Point_getX(centre.get(), ok()), c.centre.x, 1e-12);
        EXPECT_NEAR(KX_Point_getY(centre.get(), ok()), c.centre.y, 1e-12);
    }
}

TEST_F(SegmentsTest, RatioOneIsCircular) {
    Geometry s = point(1, 0), e = point(0, 1);
    Segment arc(KX_EllipticArcSegment_createWithStartAndEndpoints(s.get(), e.get(), true, true, nullptr, 0.3, 1, 1, ok()));
    EXPECT_EQ(KX_EllipticArcSegment_getIsCircular(arc.get(), ok()), 1);
    EXPECT_NEAR(KX_EllipticArcSegment_getSemiMajorAxis(arc.get(), ok()), 1, 1e-15);
    const Vertex interior = interior_of(arc.get());
    EXPECT_NEAR(interior.x, std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(interior.y, std::sqrt(0.5), 1e-12);
}

TEST_F(SegmentsTest, ConstructorsKeepExactlyThePointsGiven) {
    // Points that no computed circle would reproduce bit for bit.
    const Vertex a{0.1, 0.2, 3, 4}, b{0.30000000000000004, 0.7};
    Geometry start(KX_Point_createWithZM(a.x, a.y, a.z, a.m, ok())), end = point(b.x, b.y);
    Geometry c1 = point(0.15, 0.9), c2 = point(0.25, -0.4);
    std::vector<Segment> segments;
    segments.emplace_back(KX_CubicBezierSegment_create(start.get(), c1.get(), c2.get(), end.get(), nullptr, ok()));
    segments.emplace_back(KX_EllipticArcSegment_createCircularEllipticArcWithStartEndAndInterior(
        start.get(), end.get(), c1.get(), nullptr, ok()));
    segments.emplace_back(KX_EllipticArcSegment_createWithStartAndEndpoints(start.get(), end.get(), true, false, nullptr,
                                                                            0.4, 1, 0.3, ok()));
    for (const auto& s : segments) {
        MutablePart part(KX_MutablePart_createWithSpatialReference(nullptr, ok()));
        KX_MutablePart_addSegment(part.get(), s.get(), ok());
        Builder builder(KX_PolylineBuilder_createFromSpatialReference(nullptr, ok()));
        MutableParts parts(KX_MutablePartCollection_createWithSpatialReference(nullptr, ok()));
        KX_MutablePartCollection_addPart(parts.get(), part.get(), ok());
        KX_MultipartBuilder_setParts(builder.get(), parts.get(), ok());
        Geometry g(KX_GeometryBuilder_toGeometry(builder.get(), ok()));
        const auto points = part_points(g.get(), 0);
        ASSERT_EQ(points.size(), 2u);
        EXPECT_EQ(points[0].x, a.x);
        EXPECT_EQ(points[0].y, a.y);
        EXPECT_EQ(points[0].z, a.z);
        EXPECT_EQ(points[1].x, b.x);
        EXPECT_EQ(points[1].y, b.y);
    }
    Geometry k1(KX_CubicBezierSegment_getControlPoint1(segments[0].get(), ok()));
    Geometry k2(KX_CubicBezierSegment_getControlPoint2(segments[0].get(), ok()));
    EXPECT_EQ(KX_Point_getX(k1.get(), ok()), 0.15);
    EXPECT_EQ(KX_Point_getY(k2.get(), ok()), -0.4);
}

TEST_F(SegmentsTest, ImpossibleArcsAreRefused) {
    Geometry o = point(0, 0), a = point(1, 0), b = point(2, 0), c = point(0, 3), nan = point(NAN, 0);
    Errors errors;
    auto refused = [&](KX_SegmentHandle s) {
        EXPECT_EQ(s, nullptr);
        KX_Segment_destroy(s, nullptr);
    };
    refused(KX_EllipticArcSegment_createCircularEllipticArcWithCenter(o.get(), a.get(), o.get(), 1, 1, nullptr, errors.rec()));
    refused(KX_EllipticArcSegment_createCircularEllipticArcWithCenter(a.get(), c.get(), o.get(), 1, 1, nullptr, errors.rec()));
    refused(KX_EllipticArcSegment_createCircularEllipticArcWithStartEndAndInterior(o.get(), b.get(), a.get(), nullptr, errors.rec()));
    refused(KX_EllipticArcSegment_createCircularEllipticArcWithStartEndAndInterior(o.get(), nan.get(), a.get(), nullptr, errors.rec()));
    refused(KX_EllipticArcSegment_createWithStartAndEndpoints(o.get(), a.get(), 1, 1, nullptr, 0, 1, 1.5, errors.rec()));
    refused(KX_EllipticArcSegment_createWithStartAndEndpoints(o.get(), a.get(), 1, 1, nullptr, 0, 0, 1, errors.rec()));
    refused(KX_EllipticArcSegment_createWithStartAndEndpoints(o.get(), o.get(), 1, 1, nullptr, 0, 1, 1, errors.rec()));
    refused(KX_CubicBezierSegment_create(o.get(), nullptr, a.get(), b.get(), nullptr, errors.rec()));
    ASSERT_EQ(errors.all().size(), 8u);
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(errors.all()[i].code, KX_ERROR_GEOMETRY) << errors.all()[i].message;
}

TEST_F(SegmentsTest, GettersOfTheOtherKindAreEngineErrors) {
    Geometry s = point(0, 0), e = point(1, 0);
    Segment bezier(KX_CubicBezierSegment_create(s.get(), s.get(), e.get(), e.get(), nullptr, ok()));
    Errors errors;
    EXPECT_EQ(KX_EllipticArcSegment_getCenterPoint(bezier.get(), errors.rec()), nullptr);
    EXPECT_EQ(KX_EllipticArcSegment_getIsCircular(bezier.get(), errors.rec()), 0);
    EXPECT_EQ(errors.all().size(), 2u);
    EXPECT_EQ(KX_Segment_getObjectType(bezier.get(), ok()), KX_SEGMENT_TYPE_CUBIC_BEZIER);
}

}  // namespace
}  // namespace engine_test
