// Points and envelopes: their constructors, getters, kinds and dimensions, the empty forms, the
// centre and the extent.
#include "engine_test.h"

namespace engine_test {
namespace {

using PointsTest = EngineTest;

struct PointCase {
    const char* name;
    Geometry (*make)();
    bool has_z, has_m;
    double z, m;  // what the getters answer
};

const PointCase kPoints[] = {
    {"XY", [] { return Geometry(KX_Point_createWithXY(1, 2, ok())); }, false, false, NAN, NAN},
    {"XYZ", [] { return Geometry(KX_Point_createWithXYZ(1, 2, 3, ok())); }, true, false, 3, NAN},
    {"XYM", [] { return Geometry(KX_Point_createWithM(1, 2, 4, ok())); }, false, true, NAN, 4},
    {"XYZM", [] { return Geometry(KX_Point_createWithZM(1, 2, 3, 4, ok())); }, true, true, 3, 4},
    {"XY sr", [] { return Geometry(KX_Point_createWithXYSpatialReference(nullptr, 1, 2, ok())); }, false, false, NAN, NAN},
    {"XYZ sr", [] { return Geometry(KX_Point_createWithXYZSpatialReference(nullptr, 1, 2, 3, ok())); }, true, false, 3, NAN},
    {"XYM sr", [] { return Geometry(KX_Point_createWithMSpatialReference(nullptr, 1, 2, 4, ok())); }, false, true, NAN, 4},
    {"XYZM sr", [] { return Geometry(KX_Point_createWithZMSpatialReference(nullptr, 1, 2, 3, 4, ok())); }, true, true, 3, 4},
};

TEST_F(PointsTest, ConstructorsKeepCoordinatesAndDimensions) {
    for (const auto& c : kPoints) {
        SCOPED_TRACE(c.name);
        Geometry p = c.make();
        EXPECT_EQ(KX_Geometry_getObjectType(p.get(), ok()), KX_GEOMETRY_TYPE_POINT);
        EXPECT_EQ(KX_Point_getX(p.get(), ok()), 1);
        EXPECT_EQ(KX_Point_getY(p.get(), ok()), 2);
        EXPECT_EQ(KX_Geometry_getHasZ(p.get(), ok()), c.has_z);
        EXPECT_EQ(KX_Geometry_getHasM(p.get(), ok()), c.has_m);
        expect_same(KX_Point_getZ(p.get(), ok()), c.z);
        expect_same(KX_Point_getM(p.get(), ok()), c.m);
        EXPECT_EQ(KX_Geometry_getHasCurves(p.get(), ok()), 0);
        EXPECT_EQ(KX_Geometry_getSpatialReference(p.get(), ok()), nullptr);
    }
}

TEST_F(PointsTest, EmptyPointPassesUnchanged) {
    Geometry p(KX_Point_createWithXYZ(NAN, NAN, NAN, ok()));
    EXPECT_TRUE(std::isnan(KX_Point_getX(p.get(), ok())));
    EXPECT_TRUE(std::isnan(KX_Point_getY(p.get(), ok())));
    EXPECT_EQ(KX_Geometry_getHasZ(p.get(), ok()), 1);
    Geometry extent(KX_Geometry_getExtent(p.get(), ok()));
    EXPECT_TRUE(std::isnan(KX_Envelope_getXMin(extent.get(), ok())));
    EXPECT_EQ(to_json(p.get()), R"({"x":null,"y":null,"z":null})");
}

TEST_F(PointsTest, WrongHandlesAreEngineErrorsAndANullRecordIsAccepted) {
    Geometry e(KX_Envelope_createWithXY(0, 1, 0, 1, ok()));
    Errors errors;
    EXPECT_EQ(KX_Point_getX(e.get(), errors.rec()), 0);
    EXPECT_EQ(errors.only().code, KX_ERROR_INVALID_HANDLE);
    Errors null_handle;
    KX_Point_getX(nullptr, null_handle.rec());
    EXPECT_EQ(null_handle.only().message, "Null handle.");
    // Without a record the error is dropped and the zero value returned.
    EXPECT_EQ(KX_Point_getX(e.get(), nullptr), 0);
    Geometry p(KX_Point_createWithXY(5, 6, nullptr));
    EXPECT_EQ(KX_Point_getY(p.get(), nullptr), 6);
}

using EnvelopesTest = EngineTest;

struct EnvelopeCase {
    const char* name;
    Geometry (*make)();
    bool has_z, has_m;
};

const EnvelopeCase kEnvelopes[] = {
    {"XY", [] { return Geometry(KX_Envelope_createWithXY(1, 2, 3, 4, ok())); }, false, false},
    {"XYZ", [] { return Geometry(KX_Envelope_createWithXYZ(1, 2, 3, 4, 5, 6, ok())); }, true, false},
    {"XYM", [] { return Geometry(KX_Envelope_createWithM(1, 2, 3, 4, 7, 8, ok())); }, false, true},
    {"XYZM", [] { return Geometry(KX_Envelope_createWithZM(1, 2, 3, 4, 5, 6, 7, 8, ok())); }, true, true},
    {"XY sr", [] { return Geometry(KX_Envelope_createWithXYSpatialReference(nullptr, 1, 2, 3, 4, ok())); }, false, false},
    {"XYZ sr", [] { return Geometry(KX_Envelope_createWithXYZSpatialReference(nullptr, 1, 2, 3, 4, 5, 6, ok())); }, true, false},
    {"XYM sr", [] { return Geometry(KX_Envelope_createWithMSpatialReference(nullptr, 1, 2, 3, 4, 7, 8, ok())); }, false, true},
    {"XYZM sr", [] { return Geometry(KX_Envelope_createWithZMSpatialReference(nullptr, 1, 2, 3, 4, 5, 6, 7, 8, ok())); }, true, true},
};

TEST_F(EnvelopesTest, ConstructorsTakeXRangeThenYRangeThenZThenM) {
    for (const auto& c : kEnvelopes) {
        SCOPED_TRACE(c.name);
        Geometry e = c.make();
        EXPECT_EQ(KX_Geometry_getObjectType(e.get(), ok()), KX_GEOMETRY_TYPE_ENVELOPE);
        EXPECT_EQ(KX_Envelope_getXMin(e.get(), ok()), 1);
        EXPECT_EQ(KX_Envelope_getXMax(e.get(), ok()), 2);
        EXPECT_EQ(KX_Envelope_getYMin(e.get(), ok()), 3);
        EXPECT_EQ(KX_Envelope_getYMax(e.get(), ok()), 4);
        EXPECT_EQ(KX_Geometry_getHasZ(e.get(), ok()), c.has_z);
        EXPECT_EQ(KX_Geometry_getHasM(e.get(), ok()), c.has_m);
        expect_same(KX_Envelope_getZMin(e.get(), ok()), c.has_z ? 5 : NAN);
        expect_same(KX_Envelope_getZMax(e.get(), ok()), c.has_z ? 6 : NAN);
        expect_same(KX_Envelope_getMMin(e.get(), ok()), c.has_m ? 7 : NAN);
        expect_same(KX_Envelope_getMMax(e.get(), ok()), c.has_m ? 8 : NAN);
        Geometry centre(KX_Envelope_getCenter(e.get(), ok()));
        EXPECT_EQ(KX_Point_getX(centre.get(), ok()), 1.5);
        EXPECT_EQ(KX_Point_getY(centre.get(), ok()), 3.5);
        EXPECT_EQ(KX_Geometry_getHasZ(centre.get(), ok()), c.has_z);
        expect_same(KX_Point_getZ(centre.get(), ok()), c.has_z ? 5.5 : NAN);
    }
}

TEST_F(EnvelopesTest, CentreOutlivesItsEnvelope) {
    Geometry e(KX_Envelope_createWithXY(0, 2, 0, 4, ok()));
    Geometry centre(KX_Envelope_getCenter(e.get(), ok()));
    e.reset();
    EXPECT_EQ(KX_Point_getY(centre.get(), ok()), 2);
}

TEST_F(EnvelopesTest, EmptyEnvelopePassesUnchanged) {
    Geometry e(KX_Envelope_createWithXY(NAN, NAN, NAN, NAN, ok()));
    EXPECT_TRUE(std::isnan(KX_Envelope_getXMin(e.get(), ok())));
    EXPECT_TRUE(std::isnan(KX_Envelope_getYMax(e.get(), ok())));
    Geometry centre(KX_Envelope_getCenter(e.get(), ok()));
    EXPECT_TRUE(std::isnan(KX_Point_getX(centre.get(), ok())));
    Geometry extent(KX_Geometry_getExtent(e.get(), ok()));
    EXPECT_TRUE(std::isnan(KX_Envelope_getXMin(extent.get(), ok())));
}

struct ExtentCase {
    const char* json;
    double xmin, ymin, xmax, ymax;
};

TEST_F(EnvelopesTest, ExtentHoldsCurvesAndKeepsDimensions) {
    const ExtentCase cases[] = {
        {R"({"x":3,"y":4})", 3, 4, 3, 4},
        {R"({"points":[[1,5],[-2,3]]})", -2, 3, 1, 5},
        {R"({"paths":[[[0,0],[4,1]],[[-1,-1],[0,2]]]})", -1, -1, 4, 2},
        // A half circle above the x axis bulges up to y = 1.
        {R"({"curvePaths":[[[1,0],{"c":[[-1,0],[0,1]]}]]})", -1, 0, 1, 1},
        // A Bezier curve stays inside its control polygon but beyond its end points.
        {R"({"curvePaths":[[[0,0],{"b":[[3,0],[1,3],[2,3]]}]]})", 0, 0, 3, 2.25},
        {R"({"rings":[]})", NAN, NAN, NAN, NAN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        Geometry g = from_json(c.json);
        Geometry e(KX_Geometry_getExtent(g.get(), ok()));
        expect_same(KX_Envelope_getXMin(e.get(), ok()), c.xmin);
        expect_same(KX_Envelope_getYMin(e.get(), ok()), c.ymin);
        expect_same(KX_Envelope_getXMax(e.get(), ok()), c.xmax);
        const double ymax = KX_Envelope_getYMax(e.get(), ok());
        if (std::isnan(c.ymax))
            EXPECT_TRUE(std::isnan(ymax));
        else
            EXPECT_NEAR(ymax, c.ymax, 1e-12);
    }
    Geometry g = from_json(R"({"hasZ":true,"paths":[[[0,0,5],[1,1,-5]]]})");
    Geometry e(KX_Geometry_getExtent(g.get(), ok()));
    EXPECT_EQ(KX_Geometry_getHasZ(e.get(), ok()), 1);
    EXPECT_EQ(KX_Envelope_getZMin(e.get(), ok()), -5);
    EXPECT_EQ(KX_Envelope_getZMax(e.get(), ok()), 5);
}

}  // namespace
}  // namespace engine_test
