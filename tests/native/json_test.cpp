// The engine's own JSON text of geometries, both ways.
#include <string>

#include "engine_test.h"
#include "geometry/downcast.h"
#include "geometry/json_serializable.h"
#include "sample_geometries.h"

namespace {

using namespace geometry;

class JsonTest : public EngineTest {};

TEST_F(JsonTest, EveryKindRoundTrips) {
    const std::function<::geometry::geometry::GeometryOwned()> kinds[] = {
        samples::point, samples::envelope, [] { return samples::polyline(); }, [] { return samples::polygon(); },
        [] { return samples::multipoint(); }};
    for (const auto& make : kinds) {
        auto original = make();
        const auto text = original.to_json();
        auto parsed = json_serializable::from_json(text);
        ASSERT_TRUE(parsed.has_value()) << text;
        EXPECT_EQ(parsed->object_type(), original.object_type()) << text;
        EXPECT_EQ(parsed->to_json(), text);
    }
    auto point = *downcast::downcast<point::Point>(*json_serializable::from_json(R"({"x": 1, "y": 2})"));
    EXPECT_EQ(point.y(), 2);
}

TEST_F(JsonTest, RejectedTextIsTheEnginesError) {
    for (const char* text : {"", "{", "[1, 2]", R"({"x": "one", "y": 2})"}) {
        auto parsed = json_serializable::from_json(text);
        EXPECT_FALSE(parsed.has_value()) << text;
    }
}

TEST_F(JsonTest, TextWithNulStopsBeforeTheEngine) {
    fail_next("KX_Geometry_fromJSON", KXT_FAIL_RETURN_NULL);  // a call would give the null stop
    EXPECT_EQ(stop_message([] { (void)json_serializable::from_json(std::string("{\"x\": 1,\0 \"y\": 2}", 17)); }),
              "Internal error: The module's strings are always valid UTF-8");
    fail_next("KX_Geometry_fromJSON", KXT_FAIL_RETURN_NULL);
    EXPECT_EQ(stop_message([] { (void)json_serializable::from_json(R"({"x": 1, "y": 2})"); }),
              "Internal error: Unexpected null handle returned from core Geometry for GeometryOwned");
}

}  // namespace
