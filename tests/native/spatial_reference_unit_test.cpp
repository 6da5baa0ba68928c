// Spatial references and units: constructors' error values, getters, the area-unit codes accepted
// back, and well-known text holding a NUL character.
#include <string>

#include "engine_test.h"
#include "geometry/area_unit.h"
#include "geometry/linear_unit.h"
#include "geometry/spatial_reference.h"

namespace {

using namespace geometry;
using area_unit::AreaUnit;
using area_unit_id::AreaUnitId;
using spatial_reference::SpatialReference;

class SpatialReferenceUnitTest : public EngineTest {};

TEST_F(SpatialReferenceUnitTest, ReferencesFromIdsAndText) {
    auto wgs84 = SpatialReference::with_wkid(4326);
    ASSERT_TRUE(wgs84.has_value());
    EXPECT_EQ(wgs84->wkid(), 4326u);
    EXPECT_EQ(wgs84->vertical_wkid(), 0u);

    auto compound = SpatialReference::with_wkid_vertical_wkid(4326, 5703);
    ASSERT_TRUE(compound.has_value());
    EXPECT_EQ(compound->wkid(), 4326u);
    EXPECT_EQ(compound->vertical_wkid(), 5703u);

    auto from_text = SpatialReference::with_wktext(wgs84->wktext());
    ASSERT_TRUE(from_text.has_value());
    EXPECT_FALSE(from_text->wktext().empty());
}

TEST_F(SpatialReferenceUnitTest, RefusedInputIsAnErrorValue) {
    EXPECT_FALSE(SpatialReference::with_wkid(999999).has_value());
    EXPECT_FALSE(SpatialReference::with_wktext("not well-known text").has_value());
    EXPECT_FALSE(SpatialReference::with_wktext("").has_value());
    EXPECT_FALSE(linear_unit::LinearUnit::with_unit_id(12345).has_value());
    EXPECT_FALSE(AreaUnit::with_unit_id(12345).has_value());
}

// A NUL cannot travel in a C string. It is an ordinary error, found before the engine is asked.
TEST_F(SpatialReferenceUnitTest, TextWithNulIsAnErrorValueNotAStop) {
    fail_next("KX_SpatialReference_createFromWKText", KXT_FAIL_RETURN_NULL);  // a call would stop
    const std::string text("GEOGCS[\"x\"\0]", 13);
    std::optional<Result<SpatialReference>> made;
    EXPECT_EQ(stop_message([&] { made.emplace(SpatialReference::with_wktext(text)); }), "(no stop)");
    ASSERT_TRUE(made.has_value());
    ASSERT_FALSE(made->has_value());
    EXPECT_EQ(made->error().display(), "Failed to convert string to CString: The well-known text holds a NUL character");
}

TEST_F(SpatialReferenceUnitTest, GetterFailuresStop) {
    auto wgs84 = *SpatialReference::with_wkid(4326);
    fail_next("KX_SpatialReference_getWKID");
    EXPECT_EQ(without_record(stop_message([&] { (void)wgs84.wkid(); })),
              "Internal error: Unexpected error returned from internal function KX_SpatialReference_getWKID");
    fail_next("KX_SpatialReference_create", KXT_FAIL_RETURN_NULL);
    EXPECT_EQ(stop_message([] { (void)SpatialReference::with_wkid(4326); }),
              "Internal error: Unexpected null handle returned from core SpatialReference for SpatialReference");
}

TEST(AreaUnitId, AcceptsExactlyTheElevenCodes) {
    for (uint32_t code : {0u, 109401u, 109402u, 109404u, 109405u, 109414u, 109439u, 109442u, 109450u, 109451u,
                          109452u}) {
        auto id = area_unit_id::try_from(code);
        ASSERT_TRUE(id.has_value()) << code;
        EXPECT_EQ(static_cast<uint32_t>(*id), code);
    }
    for (uint32_t code : {1u, 109400u, 109403u, 109440u, 109453u, 4294967295u}) {
        auto id = area_unit_id::try_from(code);
        ASSERT_FALSE(id.has_value()) << code;
        EXPECT_EQ(id.error(), Error::new_conversion_error("bindings::KX_AreaUnitId", "AreaUnitId"));
    }
}

TEST_F(SpatialReferenceUnitTest, AreaUnitsConvertBothWays) {
    auto hectares = *AreaUnit::with_unit_id(109401);
    auto acres = *AreaUnit::with_unit_id(109402);
    EXPECT_EQ(hectares.area_unit_id(), AreaUnitId::Hectares);
    EXPECT_DOUBLE_EQ(hectares.to_square_meters(2), 20000);
    EXPECT_DOUBLE_EQ(hectares.from_square_meters(20000), 2);
    // An international acre is 4046.8564224 square meters.
    EXPECT_NEAR(acres.convert_to(hectares, 1), 0.40468564224, 1e-12);
    EXPECT_NEAR(hectares.convert_from(acres, 1), 0.40468564224, 1e-12);

    fail_next("KX_AreaUnit_convertTo");
    EXPECT_EQ(without_record(stop_message([&] { (void)acres.convert_to(hectares, 1); })),
              "Internal error: Unexpected error returned from internal function KX_AreaUnit_convertTo");
    fail_next("KX_AreaUnit_getAreaUnitId", KXT_FAIL_BAD_CODE);
    EXPECT_EQ(stop_message([&] { (void)hectares.area_unit_id(); }),
              "Internal error: Unexpected failure to transform return value: Error { code: 100000, msg: \"Conversion "
              "between types failed.\", additional_msg: \"Tried to convert from bindings::KX_AreaUnitId to AreaUnitId.\" }");
}

}  // namespace
