// Spatial references travel with geometries: shared, never taken over from the caller, through
// builders, parts and segments, and through the JSON text.
#include "engine_test.h"

namespace engine_test {
namespace {

class GeometrySpatialReferenceTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Errors errors;
        wgs84_.reset(KX_SpatialReference_create(4326, errors.rec()));
        // PROJ's database comes with scripts/install-deps; without it this suite fails, never skips.
        ASSERT_TRUE(errors.empty()) << "EPSG:4326 unavailable: " << errors.all().front().message;
    }
    void TearDown() override {
        wgs84_.reset();
        EngineTest::TearDown();
    }

    static uint32_t wkid_of(KX_GeometryHandle g) {
        SpatialReference sr(KX_Geometry_getSpatialReference(g, ok()));
        return sr ? KX_SpatialReference_getWKID(sr.get(), ok()) : 0;
    }

    SpatialReference wgs84_;
};

TEST_F(GeometrySpatialReferenceTest, GeometriesShareTheReferenceTheyAreGiven) {
    Geometry p(KX_Point_createWithXYSpatialReference(wgs84_.get(), 1, 2, ok()));
    Geometry e(KX_Envelope_createWithXYSpatialReference(wgs84_.get(), 0, 1, 0, 1, ok()));
    wgs84_.reset();  // the caller's handle goes; the geometries keep theirs
    EXPECT_EQ(wkid_of(p.get()), 4326u);
    EXPECT_EQ(wkid_of(e.get()), 4326u);
    Geometry centre(KX_Envelope_getCenter(e.get(), ok()));
    EXPECT_EQ(wkid_of(centre.get()), 4326u);
    Geometry extent(KX_Geometry_getExtent(p.get(), ok()));
    EXPECT_EQ(wkid_of(extent.get()), 4326u);
    Geometry plain = point(1, 2);
    EXPECT_EQ(KX_Geometry_getSpatialReference(plain.get(), ok()), nullptr);
}

TEST_F(GeometrySpatialReferenceTest, BuildersGiveTheirReferenceToWhatTheyBuildAndItsPoints) {
    Builder builder(KX_PolylineBuilder_createFromSpatialReference(wgs84_.get(), ok()));
    MutableParts parts(KX_MutablePartCollection_createWithSpatialReference(wgs84_.get(), ok()));
    MutablePart part(KX_MutablePart_createWithSpatialReference(wgs84_.get(), ok()));
    wgs84_.reset();
    KX_MutablePart_addPointXY(part.get(), 0, 0, ok());
    KX_MutablePart_addPointXY(part.get(), 1, 1, ok());
    KX_MutablePartCollection_addPart(parts.get(), part.get(), ok());
    KX_MultipartBuilder_setParts(builder.get(), parts.get(), ok());
    Geometry g(KX_GeometryBuilder_toGeometry(builder.get(), ok()));
    EXPECT_EQ(wkid_of(g.get()), 4326u);
    ImmutablePart read = part_of(g.get(), 0);
    Geometry p(KX_ImmutablePart_getPoint(read.get(), 1, ok()));
    EXPECT_EQ(wkid_of(p.get()), 4326u);
}

TEST_F(GeometrySpatialReferenceTest, JsonCarriesTheReference) {
    Geometry g = from_json(R"({"x":1,"y":2,"spatialReference":{"wkid":4326}})");
    EXPECT_EQ(wkid_of(g.get()), 4326u);
    EXPECT_EQ(to_json(g.get()), R"({"x":1.0,"y":2.0,"spatialReference":{"wkid":4326}})");
    Geometry latest = from_json(R"({"points":[],"spatialReference":{"wkid":102100,"latestWkid":3857}})");
    EXPECT_EQ(wkid_of(latest.get()), 3857u);
    Geometry none = from_json(R"({"points":[],"spatialReference":null})");
    EXPECT_EQ(KX_Geometry_getSpatialReference(none.get(), ok()), nullptr);
    Errors errors;
    EXPECT_EQ(KX_Geometry_fromJSON(R"({"x":1,"y":2,"spatialReference":{"wkid":999999}})", errors.rec()), nullptr);
    EXPECT_EQ(errors.all().size(), 1u);
}

TEST_F(GeometrySpatialReferenceTest, JsonCarriesVerticalAndUnidentifiedReferences) {
    Geometry vertical = from_json(R"({"x":1,"y":2,"z":3,"spatialReference":{"wkid":4326,"vcsWkid":5773}})");
    EXPECT_EQ(to_json(vertical.get()), R"({"x":1.0,"y":2.0,"z":3.0,"spatialReference":{"wkid":4326,"vcsWkid":5773}})");

    const std::string wkt =
        R"(PROJCS[\"custom\",GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS 84\",6378137,298.257223563]],)"
        R"(PRIMEM[\"Greenwich\",0],UNIT[\"degree\",0.0174532925199433]],PROJECTION[\"Transverse_Mercator\"],)"
        R"(PARAMETER[\"latitude_of_origin\",0],PARAMETER[\"central_meridian\",13.3],PARAMETER[\"scale_factor\",0.9996],)"
        R"(PARAMETER[\"false_easting\",500000],PARAMETER[\"false_northing\",0],UNIT[\"metre\",1]])";
    Geometry custom = from_json(R"({"x":1,"y":2,"spatialReference":{"wkt":")" + wkt + R"("}})");
    EXPECT_EQ(wkid_of(custom.get()), 0u);
    const std::string written = to_json(custom.get());
    EXPECT_NE(written.find(R"("spatialReference":{"wkt":")"), std::string::npos) << written;
    Geometry again = from_json(written);
    EXPECT_EQ(to_json(again.get()), written);
}

}  // namespace
}  // namespace engine_test
