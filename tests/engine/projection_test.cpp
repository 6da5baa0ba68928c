// Projection against PROJ's cs2cs, curves through projections, and the transformation catalog.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine_test.h"
#include "peer_tools.h"

namespace engine_test {
namespace {

using DatumTransformation = Owned<KX_DatumTransformationHandle, KX_DatumTransformation_destroy>;

class ProjectionTest : public EngineTest {};

SpatialReference reference(int32_t wkid, int32_t vertical = 0) {
    return SpatialReference(vertical == 0 ? KX_SpatialReference_create(wkid, ok())
                                          : KX_SpatialReference_createVerticalWKID(wkid, vertical, ok()));
}

struct ProjectCase {
    int from, to;
    bool from_latitude_first, to_latitude_first;  // the axis order cs2cs uses for the EPSG code
    std::vector<Vertex> points;
};

TEST_F(ProjectionTest, PointsLandWhereCs2csPutsThem) {
    const std::vector<ProjectCase> cases = {
        {4326, 3857, true, false, {{0, 0}, {13.4, 52.5}, {-179.5, -60}}},
        {4326, 32632, true, false, {{9, 48}, {10.5, 60}, {3, 0.5}}},
        {4326, 4267, true, true, {{-100, 40}, {-75, 42}, {-120, 55}}},
        {4267, 4326, true, true, {{-100, 40}, {-80, 30}}},
        {32632, 3857, false, false, {{500000, 5300000}, {300000, 6000000}}},
        {4326, 2056, true, false, {{7.4, 46.9}, {8.5, 47.4}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " to " + std::to_string(c.to));
        std::ostringstream json, input;
        json.precision(17);
        input.precision(17);
        json << "{\"points\":[";
        for (size_t i = 0; i < c.points.size(); ++i) {
            const auto& p = c.points[i];
            json << (i ? "," : "") << "[" << p.x << "," << p.y << "]";
            input << (c.from_latitude_first ? p.y : p.x) << " " << (c.from_latitude_first ? p.x : p.y) << "\n";
        }
        json << "],\"spatialReference\":{\"wkid\":" << c.from << "}}";
        Geometry g = from_json(json.str());
        SpatialReference target = reference(c.to);
        Geometry projected(KX_GeometryEngine_project(g.get(), target.get(), ok()));
        const auto rows = run_tool("cs2cs -f %.12f EPSG:" + std::to_string(c.from) + " EPSG:" + std::to_string(c.to), input.str());
        ASSERT_EQ(rows.size(), c.points.size());
        ImmutablePoints points(KX_Multipoint_getPoints(projected.get(), ok()));
        const double tolerance = c.to == 4326 || c.to == 4267 ? 1e-9 : 1e-6;
        for (size_t i = 0; i < rows.size(); ++i) {
            Geometry p(KX_ImmutablePointCollection_getPoint(points.get(), i, ok()));
            EXPECT_NEAR(KX_Point_getX(p.get(), ok()), rows[i].at(c.to_latitude_first ? 1 : 0), tolerance);
            EXPECT_NEAR(KX_Point_getY(p.get(), ok()), rows[i].at(c.to_latitude_first ? 0 : 1), tolerance);
        }
        SpatialReference sr(KX_Geometry_getSpatialReference(projected.get(), ok()));
        EXPECT_EQ(KX_SpatialReference_getWKID(sr.get(), ok()), static_cast<uint32_t>(c.to));
    }
}

TEST_F(ProjectionTest, WhatIsNotProjected) {
    SpatialReference mercator = reference(3857);
    // No reference: the coordinates stay, the reference is given.
    Geometry plain = from_json(R"({"paths":[[[1,2],[3,4]]]})");
    Geometry given(KX_GeometryEngine_project(plain.get(), mercator.get(), ok()));
    EXPECT_EQ(to_json(given.get()), R"({"paths":[[[1.0,2.0],[3.0,4.0]]],"spatialReference":{"wkid":3857}})");
    // Empty points and NaN points stay empty; z passes unchanged where a side has no vertical system.
    Geometry empties = from_json(R"({"hasZ":true,"points":[[null,null,1],[0,0,7]],"spatialReference":{"wkid":4326,"vcsWkid":5773}})");
    Geometry projected(KX_GeometryEngine_project(empties.get(), mercator.get(), ok()));
    EXPECT_EQ(to_json(projected.get()), R"({"hasZ":true,"points":[[null,null,1.0],[0.0,0.0,7.0]],"spatialReference":{"wkid":3857}})");
    Geometry empty_point = from_json(R"({"x":null,"y":null,"spatialReference":{"wkid":4326}})");
    Geometry still_empty(KX_GeometryEngine_project(empty_point.get(), mercator.get(), ok()));
    EXPECT_EQ(to_json(still_empty.get()), R"({"x":null,"y":null,"spatialReference":{"wkid":3857}})");
    Geometry empty_polygon = from_json(R"({"rings":[],"spatialReference":{"wkid":4326}})");
    Geometry empty_result(KX_GeometryEngine_project(empty_polygon.get(), mercator.get(), ok()));
    EXPECT_EQ(to_json(empty_result.get()), R"({"rings":[],"spatialReference":{"wkid":3857}})");
}

// Both sides with a vertical system: z goes through the operation (here it keeps its height).
TEST_F(ProjectionTest, HeightsGoThroughWhereBothSidesHaveThem) {
    Geometry g = from_json(R"({"hasZ":true,"points":[[500000,5000000,100],[400000,5100000,null]],)"
                           R"("spatialReference":{"wkid":32632,"vcsWkid":5773}})");
    SpatialReference target = reference(4326, 5773);
    Geometry projected(KX_GeometryEngine_project(g.get(), target.get(), ok()));
    const auto rows = run_tool("cs2cs -f %.12f EPSG:32632+5773 EPSG:4326+5773", "500000 5000000 100\n");
    ASSERT_EQ(rows.size(), 1u);
    ImmutablePoints points(KX_Multipoint_getPoints(projected.get(), ok()));
    Geometry first(KX_ImmutablePointCollection_getPoint(points.get(), 0, ok()));
    Geometry second(KX_ImmutablePointCollection_getPoint(points.get(), 1, ok()));
    EXPECT_NEAR(KX_Point_getX(first.get(), ok()), rows[0].at(1), 1e-9);
    EXPECT_NEAR(KX_Point_getY(first.get(), ok()), rows[0].at(0), 1e-9);
    EXPECT_NEAR(KX_Point_getZ(first.get(), ok()), rows[0].at(2), 1e-6);
    EXPECT_TRUE(std::isnan(KX_Point_getZ(second.get(), ok())));  // a missing height stays missing
    EXPECT_FALSE(std::isnan(KX_Point_getX(second.get(), ok())));
}

TEST_F(ProjectionTest, ArcsStayArcsOnlyUnderASimilarity) {
    const char* arc = R"({"curvePaths":[[[500000,5000000],{"c":[[502000,5000000],[501000,5001000]]}]],"spatialReference":{"wkid":32632}})";
    Geometry g = from_json(arc);
    // WGS 84 to ETRS89 in one UTM zone: the same coordinates, an arc stays the same arc.
    SpatialReference etrs = reference(25832);
    Geometry same(KX_GeometryEngine_project(g.get(), etrs.get(), ok()));
    EXPECT_TRUE(KX_Geometry_getHasCurves(same.get(), ok()));
    EXPECT_EQ(part_points(same.get(), 0).size(), 2u);
    // Into longitude and latitude: no longer a circle, followed by points on the projected arc.
    SpatialReference lonlat = reference(4326);
    Geometry bent(KX_GeometryEngine_project(g.get(), lonlat.get(), ok()));
    EXPECT_FALSE(KX_Geometry_getHasCurves(bent.get(), ok()));
    const auto points = part_points(bent.get(), 0);
    ASSERT_GT(points.size(), 10u);
    std::ostringstream input;
    input.precision(17);
    for (const auto& p : points) input << p.y << " " << p.x << "\n";
    for (const auto& row : run_tool("cs2cs -f %.6f EPSG:4326 EPSG:32632", input.str())) {
        const double r = std::hypot(row.at(0) - 501000, row.at(1) - 5000000);
        EXPECT_NEAR(r, 1000, 1.0);  // within 1/1000 of the radius
    }
}

TEST_F(ProjectionTest, EnvelopesBecomeTheEnvelopeOfTheirImage) {
    Geometry e = from_json(R"({"xmin":-10,"ymin":40,"xmax":10,"ymax":60,"spatialReference":{"wkid":4326}})");
    SpatialReference mercator = reference(3857);
    Geometry projected(KX_GeometryEngine_project(e.get(), mercator.get(), ok()));
    EXPECT_EQ(KX_Geometry_getObjectType(projected.get(), ok()), KX_GEOMETRY_TYPE_ENVELOPE);
    EXPECT_NEAR(KX_Envelope_getXMin(projected.get(), ok()), -1113194.9079327357, 1e-6);
    EXPECT_NEAR(KX_Envelope_getYMax(projected.get(), ok()), 8399737.889818355, 1e-6);
}

TEST_F(ProjectionTest, RefusedProjections) {
    Geometry pole = from_json(R"({"x":0,"y":91,"spatialReference":{"wkid":4326}})");
    SpatialReference mercator = reference(3857);
    Errors errors;
    EXPECT_EQ(KX_GeometryEngine_project(pole.get(), mercator.get(), errors.rec()), nullptr);
    EXPECT_EQ(errors.only().code, KX_ERROR_TRANSFORMATION);
    Errors none;
    EXPECT_EQ(KX_GeometryEngine_project(pole.get(), nullptr, none.rec()), nullptr);
    EXPECT_EQ(none.only().code, KX_ERROR_INVALID_ARGUMENT);
}

// ---- datum transformations and the catalog ----------------------------------------------------

std::vector<DatumTransformation> catalog(KX_SpatialReferenceHandle in, KX_SpatialReferenceHandle out,
                                         KX_GeometryHandle area, bool ignore_vertical = false) {
    Array array(KX_TransformationCatalog_getTransformationsBySuitabilityWithAreaOfInterestAndIgnoreVertical(
        in, out, area, ignore_vertical, ok()));
    std::vector<DatumTransformation> result;
    for (uint64_t i = 0; i < KX_Array_getSize(array.get(), ok()); ++i) {
        Element element(KX_Array_at(array.get(), i, ok()));
        result.emplace_back(KX_Element_getValueAsDatumTransformation(element.get(), ok()));
    }
    return result;
}

std::string name_of(KX_DatumTransformationHandle t) { return text_of(KX_DatumTransformation_getName(t, ok())); }

uint32_t wkid_of(KX_SpatialReferenceHandle handle) {
    SpatialReference sr(handle);
    return sr ? KX_SpatialReference_getWKID(sr.get(), ok()) : 0;
}

TEST_F(ProjectionTest, CatalogListsCandidatesMostSuitableFirstWithMissingGridsFlagged) {
    SpatialReference nad27 = reference(4267), wgs84 = reference(4326);
    Geometry north_america = from_json(R"({"xmin":-125,"ymin":25,"xmax":-65,"ymax":50,"spatialReference":{"wkid":4326}})");
    const auto list = catalog(nad27.get(), wgs84.get(), north_america.get());
    ASSERT_GE(list.size(), 3u);
    bool missing = false, present = false;
    for (const auto& t : list) {
        EXPECT_FALSE(name_of(t.get()).empty());
        EXPECT_EQ(KX_DatumTransformation_getObjectType(t.get(), ok()), KX_DATUM_TRANSFORMATION_GEOGRAPHIC);
        EXPECT_EQ(wkid_of(KX_DatumTransformation_getInputSpatialReference(t.get(), ok())), 4267u);
        EXPECT_EQ(wkid_of(KX_DatumTransformation_getOutputSpatialReference(t.get(), ok())), 4326u);
        (KX_DatumTransformation_getIsMissingTarnelFiles(t.get(), ok()) ? missing : present) = true;
    }
    EXPECT_TRUE(missing);
    EXPECT_TRUE(present);
    // The same area given in Web Mercator asks the same question.
    Geometry in_mercator = from_json(R"({"xmin":-13914936.35,"ymin":2875744.62,"xmax":-7235766.90,"ymax":6446275.84,)"
                                     R"("spatialReference":{"wkid":3857}})");
    const auto again = catalog(nad27.get(), wgs84.get(), in_mercator.get());
    ASSERT_EQ(again.size(), list.size());
    for (size_t i = 0; i < list.size(); ++i) EXPECT_EQ(name_of(again[i].get()), name_of(list[i].get()));
    // Far from North America nothing suits; without an area the whole world counts.
    Geometry australia = from_json(R"({"xmin":120,"ymin":-35,"xmax":150,"ymax":-15,"spatialReference":{"wkid":4326}})");
    EXPECT_TRUE(catalog(nad27.get(), wgs84.get(), australia.get()).empty());
    EXPECT_GE(catalog(nad27.get(), wgs84.get(), nullptr).size(), list.size());
}

TEST_F(ProjectionTest, CatalogIsEmptyWhereNoDatumChanges) {
    for (auto [from, to] : std::vector<std::pair<int, int>>{{4326, 3857}, {32632, 4326}, {4267, 26717}}) {
        SpatialReference in = reference(from), out = reference(to);
        EXPECT_TRUE(catalog(in.get(), out.get(), nullptr).empty()) << from << " " << to;
    }
    SpatialReference with_height = reference(4326, 5773), plain = reference(4326);
    EXPECT_TRUE(catalog(with_height.get(), plain.get(), nullptr, true).empty());
}

TEST_F(ProjectionTest, VerticalSystemsMakeHorizontalVerticalTransformations) {
    SpatialReference from = reference(4267, 5702), to = reference(4326, 5703);
    Geometry ohio = from_json(R"({"xmin":-84,"ymin":39,"xmax":-81,"ymax":41,"spatialReference":{"wkid":4326}})");
    const auto both = catalog(from.get(), to.get(), ohio.get());
    ASSERT_FALSE(both.empty());
    for (const auto& t : both)
        EXPECT_EQ(KX_DatumTransformation_getObjectType(t.get(), ok()), KX_DATUM_TRANSFORMATION_HORIZONTAL_VERTICAL);
    const auto horizontal = catalog(from.get(), to.get(), ohio.get(), true);
    ASSERT_FALSE(horizontal.empty());
    for (const auto& t : horizontal) {
        EXPECT_EQ(KX_DatumTransformation_getObjectType(t.get(), ok()), KX_DATUM_TRANSFORMATION_GEOGRAPHIC);
        EXPECT_EQ(name_of(t.get()).find("height"), std::string::npos) << name_of(t.get());
    }
}

TEST_F(ProjectionTest, ElementsHoldTransformationsOnlyWhereTheyWerePut) {
    Element element(KX_Element_create(ok()));
    Geometry p = point(1, 2);
    KX_Element_setValueFromGeometry(element.get(), p.get(), ok());
    Errors errors;
    EXPECT_EQ(KX_Element_getValueAsDatumTransformation(element.get(), errors.rec()), nullptr);
    EXPECT_EQ(errors.only().code, KX_ERROR_INVALID_ARGUMENT);
    Errors wrong;
    EXPECT_EQ(KX_DatumTransformation_getName(reinterpret_cast<KX_DatumTransformationHandle>(p.get()), wrong.rec()), nullptr);
    EXPECT_EQ(wrong.only().code, KX_ERROR_INVALID_HANDLE);
}

TEST_F(ProjectionTest, InverseRunsTheOtherWay) {
    SpatialReference nad27 = reference(4267), wgs84 = reference(4326);
    const auto list = catalog(nad27.get(), wgs84.get(), nullptr);
    ASSERT_FALSE(list.empty());
    DatumTransformation inverse(KX_DatumTransformation_getInverse(list.front().get(), ok()));
    EXPECT_EQ(name_of(inverse.get()), "Inverse of " + name_of(list.front().get()));
    EXPECT_EQ(wkid_of(KX_DatumTransformation_getInputSpatialReference(inverse.get(), ok())), 4326u);
    EXPECT_EQ(wkid_of(KX_DatumTransformation_getOutputSpatialReference(inverse.get(), ok())), 4267u);
}

// With the area of interest shrunk to the point itself, the first usable transformation is the one
// PROJ's best operation picks for that point; joined by conversions it serves projected references too.
TEST_F(ProjectionTest, ProjectWithTransformationUsesExactlyIt) {
    SpatialReference nad27 = reference(4267), wgs84 = reference(4326), utm17 = reference(26717);
    Geometry spot = from_json(R"({"xmin":-80.5,"ymin":40.5,"xmax":-79.5,"ymax":41.5,"spatialReference":{"wkid":4267}})");
    const auto list = catalog(nad27.get(), wgs84.get(), spot.get());
    const DatumTransformation* usable = nullptr;
    for (const auto& t : list)
        if (!KX_DatumTransformation_getIsMissingTarnelFiles(t.get(), ok())) {
            usable = &t;
            break;
        }
    ASSERT_NE(usable, nullptr);
    Geometry p = from_json(R"({"x":-80,"y":41,"spatialReference":{"wkid":4267}})");
    Geometry best(KX_GeometryEngine_project(p.get(), wgs84.get(), ok()));
    Geometry chosen(KX_GeometryEngine_projectWithTransformation(p.get(), wgs84.get(), usable->get(), ok()));
    EXPECT_NEAR(KX_Point_getX(chosen.get(), ok()), KX_Point_getX(best.get(), ok()), 1e-9);
    EXPECT_NEAR(KX_Point_getY(chosen.get(), ok()), KX_Point_getY(best.get(), ok()), 1e-9);
    // From NAD27 / UTM 17N: converted to NAD27, transformed, in WGS 84.
    Geometry in_utm(KX_GeometryEngine_project(p.get(), utm17.get(), ok()));
    Geometry via(KX_GeometryEngine_projectWithTransformation(in_utm.get(), wgs84.get(), usable->get(), ok()));
    EXPECT_NEAR(KX_Point_getX(via.get(), ok()), KX_Point_getX(chosen.get(), ok()), 1e-8);
    EXPECT_NEAR(KX_Point_getY(via.get(), ok()), KX_Point_getY(chosen.get(), ok()), 1e-8);
    // A geometry without a reference is only given the target.
    Geometry plain = point(1, 2);
    Geometry given(KX_GeometryEngine_projectWithTransformation(plain.get(), wgs84.get(), usable->get(), ok()));
    EXPECT_EQ(to_json(given.get()), R"({"x":1.0,"y":2.0,"spatialReference":{"wkid":4326}})");
}

TEST_F(ProjectionTest, GridDirectoryIsWhatWasSet) {
    const std::string directory = std::filesystem::temp_directory_path().string();
    KX_TransformationCatalog_setTarnelDirectory(directory.c_str(), ok());
    EXPECT_EQ(text_of(KX_TransformationCatalog_getTarnelDirectory(ok())), directory);
    Errors errors;
    KX_TransformationCatalog_setTarnelDirectory("/no/such/directory", errors.rec());
    EXPECT_EQ(errors.only().code, KX_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ(text_of(KX_TransformationCatalog_getTarnelDirectory(ok())), directory);
    // proj.db stays reachable behind the directory.
    SpatialReference nad27 = reference(4267), wgs84 = reference(4326);
    EXPECT_FALSE(catalog(nad27.get(), wgs84.get(), nullptr).empty());
    KX_TransformationCatalog_setTarnelDirectory(nullptr, ok());
    EXPECT_EQ(KX_TransformationCatalog_getTarnelDirectory(ok()), nullptr);
}

// A grid put in the directory counts at once, though PROJ had looked for it before; taken away,
// it is missing again. (An empty file stands for the grid: availability is all that is asked.)
TEST_F(ProjectionTest, GridsInTheDirectoryAreFound) {
    // References made before the directory changes serve after it.
    SpatialReference nad27 = reference(4267), wgs84 = reference(4326);
    const auto missing = [&] {
        int count = 0;
        for (const auto& t : catalog(nad27.get(), wgs84.get(), nullptr))
            count += KX_DatumTransformation_getIsMissingTarnelFiles(t.get(), ok());
        return count;
    };
    const int before = missing();
    const auto directory = std::filesystem::temp_directory_path() / "engine_grid_test";
    std::filesystem::create_directories(directory);
    std::ofstream(directory / "us_noaa_conus.tif").put('\0');
    KX_TransformationCatalog_setTarnelDirectory(directory.c_str(), ok());
    EXPECT_EQ(missing(), before - 1);
    Geometry p = from_json(R"({"x":-80,"y":41,"spatialReference":{"wkid":4267}})");
    Geometry projected(KX_GeometryEngine_project(p.get(), wgs84.get(), ok()));
    EXPECT_NEAR(KX_Point_getX(projected.get(), ok()), -80, 0.01);
    KX_TransformationCatalog_setTarnelDirectory(nullptr, ok());
    EXPECT_EQ(missing(), before);
    std::filesystem::remove_all(directory);
}

}  // namespace
}  // namespace engine_test
