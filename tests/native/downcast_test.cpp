// Narrowing engine geometries and segments by the engine's kind code.
#include <functional>
#include <string>

#include "engine_test.h"
#include "geometry/downcast.h"
#include "sample_geometries.h"

namespace {

using namespace geometry;
using ::geometry::geometry::GeometryOwned;
using geometry_type::GeometryType;

struct Kind {
    const char* name;
    std::function<GeometryOwned()> make;
    GeometryType type;
};

const Kind kKinds[] = {
    {"point", samples::point, GeometryType::Point},
    {"envelope", samples::envelope, GeometryType::Envelope},
    {"polyline", [] { return samples::polyline(); }, GeometryType::Polyline},
    {"polygon", [] { return samples::polygon(); }, GeometryType::Polygon},
    {"multipoint", [] { return samples::multipoint(); }, GeometryType::Multipoint},
};

// Narrows a geometry of every kind to T: the matching kind keeps its handle; any other is the
// conversion error naming T, and that geometry has been destroyed.
template <typename T>
void expect_narrowing_to() {
    for (const auto& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        auto owned = kind.make();
        const auto raw = owned.handle();
        const auto before = live_objects("Geometry");
        auto narrowed = downcast::downcast<T>(std::move(owned));
        if (kind.type == T::kind) {
            ASSERT_TRUE(narrowed.has_value());
            EXPECT_EQ(narrowed->handle(), raw);
            EXPECT_EQ(live_objects("Geometry"), before);
        } else {
            ASSERT_FALSE(narrowed.has_value());
            EXPECT_EQ(narrowed.error(), Error::new_conversion_error("GeometryOwned", T::type_name));
            EXPECT_EQ(live_objects("Geometry"), before - 1);
        }
    }
}

class DowncastTest : public EngineTest {};

TEST_F(DowncastTest, NarrowsEveryKindToEveryTypedOwner) {
    expect_narrowing_to<point::Point>();
    expect_narrowing_to<envelope::Envelope>();
    expect_narrowing_to<polyline::Polyline>();
    expect_narrowing_to<polygon::Polygon>();
    expect_narrowing_to<multipoint::Multipoint>();
}

TEST_F(DowncastTest, ToGeometryOwnedAcceptsAnyCode) {
    auto owned = samples::polygon();
    const auto raw = owned.handle();
    fail_next("KX_Geometry_getObjectType", KXT_FAIL_BAD_CODE);
    auto same = downcast::downcast<GeometryOwned>(std::move(owned));
    ASSERT_TRUE(same.has_value());
    EXPECT_EQ(same->handle(), raw);
}

TEST_F(DowncastTest, EngineErrorStopsAndTheGeometryIsDestroyedOnTheWay) {
    const auto before = live_objects("Geometry");
    for (bool general : {false, true}) {
        const auto message = stop_message([&] {
            auto owned = samples::polygon();
            fail_next("KX_Geometry_getObjectType");
            if (general)
                (void)downcast::downcast<GeometryOwned>(std::move(owned));
            else
                (void)downcast::downcast<polyline::Polyline>(std::move(owned));
        });
        EXPECT_EQ(without_record(message),
                  "Internal error: Unexpected error returned from KX_Geometry_getObjectType for downcast of GeometryOwned");
        EXPECT_EQ(live_objects("Geometry"), before);
    }
}

TEST_F(DowncastTest, BorrowsAPolygonAndLeavesAnyOtherKindUntouched) {
    auto polygon = samples::polygon();
    auto as_polygon = downcast::downcast_ref<polygon::Polygon>(polygon);
    ASSERT_TRUE(as_polygon.has_value());
    EXPECT_EQ(as_polygon->handle(), polygon.handle());
    EXPECT_EQ(as_polygon->parts().size(), 1u);

    auto polyline = samples::polyline();
    auto refused = downcast::downcast_ref<polygon::Polygon>(polyline);
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error(), Error::new_conversion_error("GeometryOwned", "geometry::polygon::Polygon"));
    EXPECT_EQ(polyline.object_type(), GeometryType::Polyline);

    fail_next("KX_Geometry_getObjectType");
    EXPECT_EQ(without_record(stop_message([&] { (void)downcast::downcast_ref<polygon::Polygon>(polygon); })),
              "Internal error: Unexpectedly failed to get object type for downcast_ref of GeometryOwned");
}

TEST(GeometryType, AcceptsTheKindCodesOnly) {
    for (int32_t code : {KX_GEOMETRY_TYPE_UNKNOWN, KX_GEOMETRY_TYPE_POINT, KX_GEOMETRY_TYPE_ENVELOPE, KX_GEOMETRY_TYPE_POLYLINE,
                         KX_GEOMETRY_TYPE_POLYGON, KX_GEOMETRY_TYPE_MULTIPOINT}) {
        auto kind = geometry_type::try_from(code);
        ASSERT_TRUE(kind.has_value()) << code;
        EXPECT_EQ(static_cast<int32_t>(*kind), code);
    }
    for (int32_t code : {-2, 0, 6, 99}) {
        auto kind = geometry_type::try_from(code);
        ASSERT_FALSE(kind.has_value()) << code;
        EXPECT_EQ(kind.error(), Error::new_conversion_error("bindings::KX_GeometryType", "GeometryType"));
    }
}

TEST_F(DowncastTest, ObjectTypeStopsOnACodeOutsideTheKinds) {
    auto point = samples::point();
    fail_next("KX_Geometry_getObjectType", KXT_FAIL_BAD_CODE);
    EXPECT_EQ(stop_message([&] { (void)point.object_type(); }),
              "Internal error: Unexpected failure to transform return value: Error { code: 100000, msg: \"Conversion between types failed.\", additional_msg: \"Tried to convert from bindings::KX_GeometryType to GeometryType.\" }");
}

}  // namespace
