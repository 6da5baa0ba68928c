// Points and envelopes: which engine constructor each combination of z, m and spatial reference
// reaches, the optional getters, the centre, and the geometry queries every owner answers.
#include <cmath>
#include <optional>
#include <string>

#include "engine_test.h"
#include "geometry/envelope.h"
#include "sample_geometries.h"

namespace {

using namespace geometry;
using envelope::Envelope;
using envelope::Range;
using point::Point;

class PointEnvelopeTest : public EngineTest {};

spatial_reference::SpatialReference wgs84() { return *spatial_reference::SpatialReference::with_wkid(4326); }

struct PointCase {
    std::optional<double> z, m;
    bool with_sr;
    const char* function;
};

const PointCase kPointCases[] = {
    {std::nullopt, std::nullopt, false, "KX_Point_createWithXY"},
    {3.0, std::nullopt, false, "KX_Point_createWithXYZ"},
    {std::nullopt, 4.0, false, "KX_Point_createWithM"},
    {3.0, 4.0, false, "KX_Point_createWithZM"},
    {std::nullopt, std::nullopt, true, "KX_Point_createWithXYSpatialReference"},
    {3.0, std::nullopt, true, "KX_Point_createWithXYZSpatialReference"},
    {std::nullopt, 4.0, true, "KX_Point_createWithMSpatialReference"},
    {3.0, 4.0, true, "KX_Point_createWithZMSpatialReference"},
};

TEST_F(PointEnvelopeTest, PointConstructorsKeepWhatTheyAreGiven) {
    const auto wgs84_ = wgs84();
    for (const auto& c : kPointCases) {
        SCOPED_TRACE(c.function);
        auto point = c.with_sr ? Point::with_x_y_z_m_spatial_reference(1, 2, c.z, c.m, wgs84_)
                               : Point::with_x_y_z_m(1, 2, c.z, c.m);
        EXPECT_EQ(point.x(), 1);
        EXPECT_EQ(point.y(), 2);
        EXPECT_EQ(point.z(), c.z);
        EXPECT_EQ(point.m(), c.m);
        EXPECT_EQ(point.spatial_reference().has_value(), c.with_sr);
    }
}

// An engine error names the function called, so it shows the dispatch; a null handle without an
// error gives the owner's null text.
TEST_F(PointEnvelopeTest, PointConstructorFailuresNameTheEngineFunction) {
    const auto wgs84_ = wgs84();
    for (const auto& c : kPointCases) {
        SCOPED_TRACE(c.function);
        auto make = [&] {
            (void)(c.with_sr ? Point::with_x_y_z_m_spatial_reference(1, 2, c.z, c.m, wgs84_)
                             : Point::with_x_y_z_m(1, 2, c.z, c.m));
        };
        fail_next(c.function);
        EXPECT_EQ(without_record(stop_message(make)),
                  std::string("Internal error: Unexpected error returned from internal function ") + c.function);
        fail_next(c.function, KXT_FAIL_RETURN_NULL);
        EXPECT_EQ(stop_message(make), "Internal error: Unexpected null handle returned from core Geometry for Point");
    }
}

struct EnvelopeCase {
    std::optional<Range> z, m;
    bool with_sr;
    const char* function;
};

const EnvelopeCase kEnvelopeCases[] = {
    {std::nullopt, std::nullopt, false, "KX_Envelope_createWithXY"},
    {Range{5, 6}, std::nullopt, false, "KX_Envelope_createWithXYZ"},
    {std::nullopt, Range{7, 8}, false, "KX_Envelope_createWithM"},
    {Range{5, 6}, Range{7, 8}, false, "KX_Envelope_createWithZM"},
    {std::nullopt, std::nullopt, true, "KX_Envelope_createWithXYSpatialReference"},
    {Range{5, 6}, std::nullopt, true, "KX_Envelope_createWithXYZSpatialReference"},
    {std::nullopt, Range{7, 8}, true, "KX_Envelope_createWithMSpatialReference"},
    {Range{5, 6}, Range{7, 8}, true, "KX_Envelope_createWithZMSpatialReference"},
};

std::optional<double> first(std::optional<Range> r) { return r ? std::optional(r->first) : std::nullopt; }
std::optional<double> second(std::optional<Range> r) { return r ? std::optional(r->second) : std::nullopt; }

TEST_F(PointEnvelopeTest, EnvelopeConstructorsKeepBoundsInOrder) {
    const auto wgs84_ = wgs84();
    for (const auto& c : kEnvelopeCases) {
        SCOPED_TRACE(c.function);
        auto make = [&] {
            return c.with_sr ? Envelope::with_x_y_z_m_spatial_reference(1, 2, 3, 4, c.z, c.m, wgs84_)
                             : Envelope::with_x_y_z_m(1, 2, 3, 4, c.z, c.m);
        };
        auto envelope = make();
        EXPECT_EQ(envelope.x_min(), 1);
        EXPECT_EQ(envelope.x_max(), 2);
        EXPECT_EQ(envelope.y_min(), 3);
        EXPECT_EQ(envelope.y_max(), 4);
        EXPECT_EQ(envelope.z_min(), first(c.z));
        EXPECT_EQ(envelope.z_max(), second(c.z));
        EXPECT_EQ(envelope.m_min(), first(c.m));
        EXPECT_EQ(envelope.m_max(), second(c.m));
        fail_next(c.function);
        EXPECT_EQ(without_record(stop_message(make)),
                  std::string("Internal error: Unexpected error returned from internal function ") + c.function);
    }
}

TEST_F(PointEnvelopeTest, OptionalGettersDoNotAskForAValueThatIsAbsent) {
    auto point = Point::with_x_y(1, 2);
    fail_next("KX_Point_getZ");  // stays armed: a call would stop
    EXPECT_EQ(point.z(), std::nullopt);
    auto with_z = Point::with_x_y_z_m(1, 2, 3.0, std::nullopt);
    EXPECT_EQ(without_record(stop_message([&] { (void)with_z.z(); })),
              "Internal error: Unexpected error returned from internal function KX_Point_getZ");
}

TEST_F(PointEnvelopeTest, EmptyFormsPassUnchanged) {
    auto point = Point::with_x_y(NAN, NAN);
    EXPECT_TRUE(std::isnan(point.x()));
    auto envelope = Envelope::with_x_y(NAN, NAN, NAN, NAN);
    EXPECT_TRUE(std::isnan(envelope.x_min()));
}

TEST_F(PointEnvelopeTest, CenterIsAnIndependentPoint) {
    std::optional<Point> center;
    {
        auto envelope = Envelope::with_x_y(0, 4, 0, 2);
        center.emplace(envelope.center());
    }
    EXPECT_EQ(center->x(), 2);
    EXPECT_EQ(center->y(), 1);
    auto envelope = Envelope::with_x_y(0, 4, 0, 2);
    fail_next("KX_Envelope_getCenter", KXT_FAIL_RETURN_NULL);
    EXPECT_EQ(stop_message([&] { (void)envelope.center(); }),
              "Internal error: Unexpected null handle returned from core Geometry for Point");
}

TEST_F(PointEnvelopeTest, GeometryQueries) {
    const auto wgs84_ = wgs84();
    auto polygon = samples::polygon();
    EXPECT_FALSE(polygon.has_z());
    EXPECT_FALSE(polygon.has_m());
    EXPECT_FALSE(polygon.has_curves());
    EXPECT_FALSE(polygon.spatial_reference().has_value());
    auto extent = polygon.extent();
    EXPECT_EQ(extent.x_min(), 0);
    EXPECT_EQ(extent.y_max(), 4);

    auto located = Point::with_x_y_spatial_reference(1, 2, wgs84_);
    auto sr = located.spatial_reference();
    ASSERT_TRUE(sr.has_value());
    EXPECT_EQ(sr->wkid(), 4326u);
    EXPECT_EQ(wgs84_.wkid(), 4326u);  // still the caller's, and usable
}

TEST_F(PointEnvelopeTest, GeometryQueryFailuresStop) {
    auto polygon = samples::polygon();
    const std::function<void()> queries[] = {
        [&] { (void)polygon.has_z(); },
        [&] { (void)polygon.has_m(); },
        [&] { (void)polygon.has_curves(); },
        [&] { (void)polygon.extent(); },
        [&] { (void)polygon.spatial_reference(); },
        [&] { (void)polygon.object_type(); },
        [&] { (void)polygon.to_json(); },
    };
    const char* functions[] = {"KX_Geometry_getHasZ",         "KX_Geometry_getHasM",    "KX_Geometry_getHasCurves",
                               "KX_Geometry_getExtent",       "KX_Geometry_getSpatialReference",
                               "KX_Geometry_getObjectType",   "KX_Geometry_toJSON"};
    for (size_t i = 0; i < std::size(queries); ++i) {
        fail_next(functions[i]);
        EXPECT_EQ(without_record(stop_message(queries[i])),
                  std::string("Internal error: Unexpected error returned from internal function ") + functions[i]);
    }
    fail_next("KX_Geometry_getExtent", KXT_FAIL_RETURN_NULL);
    EXPECT_EQ(stop_message(queries[3]), "Internal error: Unexpected null handle returned from core Geometry for Envelope");
}

}  // namespace
