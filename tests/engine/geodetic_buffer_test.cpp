// Geodetic buffers: their boundary at the distance on the ellipsoid (within the deviation), across
// the antimeridian, round a pole, in projections, every curve type and unit; and the folding of
// geometries into one turn of longitude.
#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/PolygonArea.hpp>

#include <cmath>
#include <functional>

#include "engine_test.h"

namespace engine_test {
namespace {

const GeographicLib::Geodesic& wgs84() { return GeographicLib::Geodesic::WGS84(); }

class GeodeticBufferTest : public EngineTest {};

uint64_t part_count(KX_GeometryHandle g) {
    ImmutableParts parts(KX_Multipart_getParts(g, ok()));
    return KX_ImmutablePartCollection_getSize(parts.get(), ok());
}

std::vector<Vertex> all_points(KX_GeometryHandle g) {
    std::vector<Vertex> all;
    const auto parts = part_count(g);
    for (uint64_t i = 0; i < parts; ++i) {
        const auto points = part_points(g, i);
        all.insert(all.end(), points.begin(), points.end());
    }
    return all;
}

double geodesic_distance(Vertex a, Vertex b) {
    double s = 0;
    wgs84().Inverse(a.y, a.x, b.y, b.x, s);
    return s;
}

// The area of the geodesic circle (the side holding its centre, to the right of its points as the
// azimuth grows), from 36,000 of its points.
double circle_area(Vertex centre, double radius) {
    GeographicLib::PolygonArea area(wgs84());
    for (int j = 0; j < 36000; ++j) {
        double lat = 0, lon = 0;
        wgs84().Direct(centre.y, centre.x, j / 100.0, radius, lat, lon);
        area.AddPoint(lat, lon);
    }
    double perimeter = 0, result = 0;
    area.Compute(true, false, perimeter, result);
    return result;
}

struct CircleCase {
    const char* name;
    Vertex centre;
    double distance, deviation;  // metres
    uint64_t parts;              // split at the antimeridian into two
};

TEST_F(GeodeticBufferTest, PointBuffersAreGeodesicCirclesEverywhere) {
    const std::vector<CircleCase> cases = {
        {"equator", {0, 0}, 100000, 0, 1},
        {"across the antimeridian", {179.9, 10}, 100000, 0, 2},
        {"round the north pole", {0, 89.8}, 100000, 0, 1},
        {"round the south pole", {120, -89.5}, 200000, 0, 1},
        {"large, fine", {30, 45}, 2000000, 10, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Geometry p = from_json("{\"x\":" + std::to_string(c.centre.x) + ",\"y\":" + std::to_string(c.centre.y) +
                               ",\"spatialReference\":{\"wkid\":4326}}");
        Geometry buffer(KX_GeometryEngine_bufferGeodetic(p.get(), nullptr, 0, c.distance, c.deviation, ok()));
        ASSERT_EQ(KX_Geometry_getObjectType(buffer.get(), ok()), KX_GEOMETRY_TYPE_POLYGON);
        EXPECT_EQ(part_count(buffer.get()), c.parts);
        const double deviation = c.deviation == 0 ? std::min(c.distance / 1000, 1000.0) : c.deviation;
        for (const auto& v : all_points(buffer.get())) {
            EXPECT_GE(v.x, -180);
            EXPECT_LE(v.x, 180);
            // Vertices on the antimeridian or a pole close the rings; the rest lie on the circle.
            if (std::abs(v.y) == 90 || std::abs(v.x) == 180) continue;
            EXPECT_NEAR(geodesic_distance(c.centre, v), c.distance, deviation) << v.x << " " << v.y;
        }
        const double area = circle_area(c.centre, c.distance);
        EXPECT_NEAR(KX_GeometryEngine_areaGeodetic(buffer.get(), nullptr, 0, ok()), area,
                    area * 2 * deviation / c.distance);
    }
}

// Circles past one pole or both hold most of the ellipsoid: the centre is inside, the antipode
// outside, and the area is the circle's whole side (not the rest of the ellipsoid).
TEST_F(GeodeticBufferTest, CirclesOverThePolesHoldTheirCentre) {
    const std::vector<CircleCase> cases = {
        {"past the north pole", {0, 45}, 14000000, 100, 1},
        {"just past both poles", {0, 0}, 10010000, 100, 1},
        {"past both poles", {0, 0}, 10500000, 100, 1},
        {"far past both poles", {0, 0}, 11000000, 100, 1},
        {"past both poles, off the equator", {100, -20}, 12000000, 100, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto point = [](Vertex v) {
            return from_json("{\"x\":" + std::to_string(v.x) + ",\"y\":" + std::to_string(v.y) +
                             ",\"spatialReference\":{\"wkid\":4326}}");
        };
        Geometry centre = point(c.centre);
        Geometry antipode = point({c.centre.x > 0 ? c.centre.x - 180 : c.centre.x + 180, -c.centre.y});
        Geometry buffer(KX_GeometryEngine_bufferGeodetic(centre.get(), nullptr, 0, c.distance, c.deviation, ok()));
        EXPECT_TRUE(KX_GeometryEngine_contains(buffer.get(), centre.get(), ok()));
        EXPECT_FALSE(KX_GeometryEngine_contains(buffer.get(), antipode.get(), ok()));
        EXPECT_TRUE(KX_GeometryEngine_isSimple(buffer.get(), ok()));
        // Chords within the deviation of a circle shorter than the equator.
        EXPECT_NEAR(KX_GeometryEngine_areaGeodetic(buffer.get(), nullptr, 0, ok()), circle_area(c.centre, c.distance),
                    2 * M_PI * wgs84().EquatorialRadius() * c.deviation);
    }
}

// A band along a line: its area is that of the strip plus the two half circles at the ends.
TEST_F(GeodeticBufferTest, LineBuffersFollowTheCurveType) {
    Geometry equator = from_json(R"({"paths":[[[0,0],[10,0]]],"spatialReference":{"wkid":4326}})");
    Geometry buffer(KX_GeometryEngine_bufferGeodetic(equator.get(), nullptr, 0, 100000, 0, ok()));
    for (const auto& v : all_points(buffer.get())) {
        if (v.x > 0.01 && v.x < 9.99) {
            // Due north or south of the equator at 100 km.
            EXPECT_NEAR(geodesic_distance({v.x, 0}, v), 100000, 100);
        }
    }
    // The same line across the antimeridian: the same band, in two parts.
    Geometry across = from_json(R"({"paths":[[[175,0],[-175,0]]],"spatialReference":{"wkid":4326}})");
    Geometry middle = from_json(R"({"paths":[[[-5,0],[5,0]]],"spatialReference":{"wkid":4326}})");
    Geometry split(KX_GeometryEngine_bufferGeodetic(across.get(), nullptr, 0, 100000, 0, ok()));
    Geometry whole(KX_GeometryEngine_bufferGeodetic(middle.get(), nullptr, 0, 100000, 0, ok()));
    EXPECT_EQ(part_count(split.get()), 2u);
    EXPECT_EQ(part_count(whole.get()), 1u);
    const double whole_area = KX_GeometryEngine_areaGeodetic(whole.get(), nullptr, 0, ok());
    EXPECT_NEAR(KX_GeometryEngine_areaGeodetic(split.get(), nullptr, 0, ok()), whole_area, whole_area * 1e-3);
    // Along the parallel at 60 degrees, the loxodrome is the parallel and the geodesic bows towards
    // the pole: the two bands differ, each centred on its own line.
    Geometry parallel = from_json(R"({"paths":[[[0,60],[20,60]]],"spatialReference":{"wkid":4326}})");
    Unit km(KX_LinearUnit_create(9036, ok()));
    Geometry rhumb(KX_GeometryEngine_bufferGeodetic(parallel.get(), km.get(), 1, 50, 0.01, ok()));
    Geometry geodesic(KX_GeometryEngine_bufferGeodetic(parallel.get(), km.get(), 0, 50, 0.01, ok()));
    const auto south_edge = [](KX_GeometryHandle g) {
        double lowest_at_middle = 90;
        for (const auto& v : all_points(g))
            if (std::abs(v.x - 10) < 0.2) lowest_at_middle = std::min(lowest_at_middle, v.y);
        return lowest_at_middle;
    };
    double lat = 0, lon = 0;
    wgs84().Direct(60, 10, 180, 50000, lat, lon);
    EXPECT_NEAR(south_edge(rhumb.get()), lat, 1e-4);
    EXPECT_GT(south_edge(geodesic.get()), lat + 0.1);
    // Every curve type gives a band of about the same size for a short line.
    Geometry short_line = from_json(R"({"paths":[[[5,45],[5.5,45.3]]],"spatialReference":{"wkid":4326}})");
    double reference = 0;
    for (int32_t curve : {0, 1, 2, 3, 4}) {
        Geometry b(KX_GeometryEngine_bufferGeodetic(short_line.get(), nullptr, curve, 1000, 0, ok()));
        const double area = KX_GeometryEngine_areaGeodetic(b.get(), nullptr, 0, ok());
        if (curve == 0) reference = area;
        EXPECT_NEAR(area, reference, reference * 1e-3) << curve;
    }
}

TEST_F(GeodeticBufferTest, PolygonsGrowAndShrink) {
    Geometry square = from_json(R"({"rings":[[[0,0],[0,10],[10,10],[10,0],[0,0]]],"spatialReference":{"wkid":4326}})");
    const double area = KX_GeometryEngine_areaGeodetic(square.get(), nullptr, 0, ok());
    Geometry same(KX_GeometryEngine_bufferGeodetic(square.get(), nullptr, 0, 0, 0, ok()));
    EXPECT_NEAR(KX_GeometryEngine_areaGeodetic(same.get(), nullptr, 0, ok()), area, area * 1e-7);  // 1 m outline
    Geometry grown(KX_GeometryEngine_bufferGeodetic(square.get(), nullptr, 0, 100000, 0, ok()));
    Geometry shrunk(KX_GeometryEngine_bufferGeodetic(square.get(), nullptr, 0, -100000, 0, ok()));
    const double perimeter = KX_GeometryEngine_lengthGeodetic(square.get(), nullptr, 0, ok());
    // Grown by the perimeter times the distance and a full circle; shrunk by the perimeter times it,
    // less the four corner squares the inner offset cuts off.
    EXPECT_NEAR(KX_GeometryEngine_areaGeodetic(grown.get(), nullptr, 0, ok()), area + perimeter * 1e5 + M_PI * 1e10,
                0.01 * area);
    EXPECT_NEAR(KX_GeometryEngine_areaGeodetic(shrunk.get(), nullptr, 0, ok()), area - perimeter * 1e5 + 4e10, 0.01 * area);
    // Shrunk past its size, nothing is left.
    Geometry gone(KX_GeometryEngine_bufferGeodetic(square.get(), nullptr, 0, -1e6, 0, ok()));
    EXPECT_EQ(part_count(gone.get()), 0u);
}

TEST_F(GeodeticBufferTest, ProjectedGeometriesAreBufferedOnTheirEllipsoid) {
    // A point in Web Mercator near the antimeridian: the buffer is folded into its x range.
    Geometry p = from_json(R"({"x":20037000,"y":0,"spatialReference":{"wkid":3857}})");
    Geometry buffer(KX_GeometryEngine_bufferGeodetic(p.get(), nullptr, 0, 10000, 0, ok()));
    EXPECT_EQ(part_count(buffer.get()), 2u);
    for (const auto& v : all_points(buffer.get())) EXPECT_LE(std::abs(v.x), 20037508.342789244);
    // In UTM the circle keeps its metres.
    Geometry u = from_json(R"({"x":500000,"y":5000000,"spatialReference":{"wkid":32632}})");
    Geometry circle(KX_GeometryEngine_bufferGeodetic(u.get(), nullptr, 0, 1000, 0, ok()));
    for (const auto& v : all_points(circle.get())) EXPECT_NEAR(std::hypot(v.x - 500000, v.y - 5000000), 1000 * 0.9996, 2);
}

TEST_F(GeodeticBufferTest, CollectionsRepeatTheLastDistanceAndUnite) {
    Vector geometries(KX_Vector_create(KX_ELEMENT_TYPE_GEOMETRY, ok()));
    Vector distances(KX_Vector_create(KX_ELEMENT_TYPE_FLOAT64, ok()));
    Element element(KX_Element_create(ok()));
    for (double x : {0.0, 0.5, 20.0}) {
        Geometry p = from_json("{\"x\":" + std::to_string(x) + ",\"y\":0,\"spatialReference\":{\"wkid\":4326}}");
        KX_Element_setValueFromGeometry(element.get(), p.get(), ok());
        KX_Vector_add(geometries.get(), element.get(), ok());
    }
    Vector none(KX_Vector_create(KX_ELEMENT_TYPE_FLOAT64, ok()));
    for (double d : {100.0, 50.0}) {
        KX_Element_setValueFromFloat64(element.get(), d, ok());
        KX_Vector_add(distances.get(), element.get(), ok());
    }
    Unit km(KX_LinearUnit_create(9036, ok()));
    Array each(KX_GeometryEngine_bufferGeodeticCollection(geometries.get(), distances.get(), km.get(), 0, 0, 0, ok()));
    ASSERT_EQ(KX_Array_getSize(each.get(), ok()), 3u);
    std::vector<double> areas;
    for (uint64_t i = 0; i < 3; ++i) {
        Element e(KX_Array_at(each.get(), i, ok()));
        Geometry g(KX_Element_getValueAsGeometry(e.get(), ok()));
        areas.push_back(KX_GeometryEngine_areaGeodetic(g.get(), nullptr, 0, ok()));
    }
    EXPECT_NEAR(areas[1], areas[2], areas[2] * 1e-6);  // the last distance repeats
    EXPECT_NEAR(areas[0], 4 * areas[1], areas[0] * 1e-2);
    Array united(KX_GeometryEngine_bufferGeodeticCollection(geometries.get(), distances.get(), km.get(), 0, 1, 0, ok()));
    ASSERT_EQ(KX_Array_getSize(united.get(), ok()), 1u);
    Element e(KX_Array_at(united.get(), 0, ok()));
    Geometry g(KX_Element_getValueAsGeometry(e.get(), ok()));
    EXPECT_EQ(part_count(g.get()), 2u);
    const double total = KX_GeometryEngine_areaGeodetic(g.get(), nullptr, 0, ok());
    EXPECT_LT(total, areas[0] + areas[1] + areas[2]);
    EXPECT_GT(total, areas[0] + areas[2]);
    Errors errors;
    EXPECT_EQ(KX_GeometryEngine_bufferGeodeticCollection(geometries.get(), none.get(), nullptr, 0, 0, 0, errors.rec()), nullptr);
    EXPECT_EQ(errors.only().code, KX_ERROR_INVALID_ARGUMENT);
}

TEST_F(GeodeticBufferTest, EmptiesAndRefusals) {
    for (const char* json : {R"({"x":null,"y":null,"spatialReference":{"wkid":4326}})",
                             R"({"paths":[],"spatialReference":{"wkid":4326}})",
                             R"({"points":[[null,null]],"spatialReference":{"wkid":4326}})"}) {
        Geometry g = from_json(json);
        Geometry b(KX_GeometryEngine_bufferGeodetic(g.get(), nullptr, 0, 1000, 0, ok()));
        EXPECT_EQ(to_json(b.get()), R"({"rings":[],"spatialReference":{"wkid":4326}})") << json;
    }
    Geometry line = from_json(R"({"paths":[[[0,0],[1,1]]],"spatialReference":{"wkid":4326}})");
    Geometry none(KX_GeometryEngine_bufferGeodetic(line.get(), nullptr, 0, -5, 0, ok()));
    EXPECT_EQ(part_count(none.get()), 0u);
    Geometry plain = from_json(R"({"x":1,"y":2})");
    Geometry world = from_json(R"({"points":[[0,0],[90,0],[180,0],[-90,0]],"spatialReference":{"wkid":4326}})");
    struct Case {
        const char* name;
        std::function<KX_GeometryHandle(const KX_ErrorCallbackRecord*)> call;
        int32_t code;
    };
    const std::vector<Case> cases = {
        {"NaN distance", [&](auto rec) { return KX_GeometryEngine_bufferGeodetic(line.get(), nullptr, 0, NAN, 0, rec); }, KX_ERROR_INVALID_ARGUMENT},
        {"negative deviation", [&](auto rec) { return KX_GeometryEngine_bufferGeodetic(line.get(), nullptr, 0, 10, -1, rec); }, KX_ERROR_INVALID_ARGUMENT},
        {"curve type 7", [&](auto rec) { return KX_GeometryEngine_bufferGeodetic(line.get(), nullptr, 7, 10, 0, rec); }, KX_ERROR_INVALID_ARGUMENT},
        {"no spatial reference", [&](auto rec) { return KX_GeometryEngine_bufferGeodetic(plain.get(), nullptr, 0, 10, 0, rec); }, KX_ERROR_SPATIAL_REFERENCE},
        {"round the world", [&](auto rec) { return KX_GeometryEngine_bufferGeodetic(world.get(), nullptr, 0, 10, 0, rec); }, KX_ERROR_GEOMETRY},
        {"deviation too fine", [&](auto rec) { return KX_GeometryEngine_bufferGeodetic(line.get(), nullptr, 0, 1e6, 1e-9, rec); }, KX_ERROR_GEOMETRY},
    };
    for (const auto& c : cases) {
        Errors errors;
        EXPECT_EQ(c.call(errors.rec()), nullptr) << c.name;
        EXPECT_EQ(errors.only().code, c.code) << c.name;
    }
}

// ---- normalizeCentralMeridian -------------------------------------------------------------------

TEST_F(GeodeticBufferTest, NormalizingFoldsIntoOneTurnOfLongitude) {
    struct Case {
        const char* input;
        const char* expected;  // null: no geometry
    };
    const std::vector<Case> cases = {
        {R"({"x":190,"y":10,"spatialReference":{"wkid":4326}})", R"({"x":-170.0,"y":10.0,"spatialReference":{"wkid":4326}})"},
        {R"({"points":[[-540,1],[180,2],[-180,3]],"spatialReference":{"wkid":4326}})",
         R"({"points":[[-180.0,1.0],[-180.0,2.0],[-180.0,3.0]],"spatialReference":{"wkid":4326}})"},
        // Whole turns taken off exactly: every digit kept, and a hair west of -180 stays inside.
        {R"({"points":[[190.00000000000003,1],[-180.00000000000003,2],[359.99999999999994,3]],"spatialReference":{"wkid":4326}})",
         R"({"points":[[-169.99999999999997,1.0],[179.99999999999997,2.0],[-5.684341886080802e-14,3.0]],"spatialReference":{"wkid":4326}})"},
        {R"({"hasM":true,"paths":[[[170,0,0],[190,0,20]]],"spatialReference":{"wkid":4326}})",
         R"({"hasM":true,"paths":[[[170.0,0.0,0.0],[180.0,0.0,10.0]],[[-180.0,0.0,10.0],[-170.0,0.0,20.0]]],"spatialReference":{"wkid":4326}})"},
        // Inside already: copied, curves and all.
        {R"({"curvePaths":[[[0,0],{"c":[[2,0],[1,1]]}]],"spatialReference":{"wkid":4326}})",
         R"({"curvePaths":[[[0.0,0.0],{"c":[[2.0,0.0],[1.0,1.0]]}]],"spatialReference":{"wkid":4326}})"},
        // Not a geographic or Mercator reference, or none: copied.
        {R"({"x":1e7,"y":0,"spatialReference":{"wkid":32632}})", R"({"x":10000000.0,"y":0.0,"spatialReference":{"wkid":32632}})"},
        {R"({"x":500,"y":0})", R"({"x":500.0,"y":0.0})"},
        {R"({"x":20037508.342789244,"y":5,"spatialReference":{"wkid":3857}})",
         R"({"x":-20037508.342789244,"y":5.0,"spatialReference":{"wkid":3857}})"},
        // An envelope a turn wide or wider holds every longitude, however far it reaches.
        {R"({"xmin":0,"ymin":0,"xmax":1e12,"ymax":10,"spatialReference":{"wkid":4326}})",
         R"({"rings":[[[-180.0,0.0],[-180.0,10.0],[180.0,10.0],[180.0,0.0],[-180.0,0.0]]],"spatialReference":{"wkid":4326}})"},
        {R"({"x":null,"y":null,"spatialReference":{"wkid":4326}})", nullptr},
        {R"({"rings":[],"spatialReference":{"wkid":4326}})", nullptr},
    };
    for (const auto& c : cases) {
        Geometry g = from_json(c.input);
        Geometry result(KX_GeometryEngine_normalizeCentralMeridian(g.get(), ok()));
        if (c.expected == nullptr) {
            EXPECT_EQ(result.get(), nullptr) << c.input;
        } else {
            ASSERT_NE(result.get(), nullptr) << c.input;
            EXPECT_EQ(to_json(result.get()), c.expected) << c.input;
        }
    }
    // The call has no error to give. Rings of billions of degrees, infinite coordinates: copied.
    SpatialReference wgs84_sr(KX_SpatialReference_create(4326, ok()));
    std::vector<Geometry> unfoldable;
    unfoldable.push_back(from_json(R"({"rings":[[[0,80],[90,81],[1899999999990,80],[1,80]]],"spatialReference":{"wkid":4326}})"));
    unfoldable.push_back(from_json(R"({"paths":[[[0,0],[1e300,1]]],"spatialReference":{"wkid":3857}})"));
    unfoldable.push_back(multipart(false, {{{0, 0}, {INFINITY, 1}}}, false, false, wgs84_sr.get()));
    unfoldable.push_back(multipart(true, {{{0, 0}, {-INFINITY, 1}, {1, 1}}}, false, false, wgs84_sr.get()));
    unfoldable.push_back(Geometry(KX_Point_createWithXYSpatialReference(wgs84_sr.get(), -INFINITY, 1, ok())));
    for (const auto& g : unfoldable) {
        Geometry copy(KX_GeometryEngine_normalizeCentralMeridian(g.get(), ok()));
        ASSERT_NE(copy.get(), nullptr) << to_json(g.get());
        EXPECT_EQ(to_json(copy.get()), to_json(g.get()));
    }
    // A path round the world 27,778 times is folded: one piece per turn, every one inside.
    Geometry long_path = from_json(R"({"paths":[[[0,0],[1e7,1]]],"spatialReference":{"wkid":4326}})");
    Geometry pieces(KX_GeometryEngine_normalizeCentralMeridian(long_path.get(), ok()));
    EXPECT_EQ(part_count(pieces.get()), 27779u);
    for (const auto& v : all_points(pieces.get())) {
        EXPECT_GE(v.x, -180);
        EXPECT_LE(v.x, 180);
    }
    // A polygon across the antimeridian becomes two, with the same area in longitude and latitude.
    Geometry across = from_json(R"({"rings":[[[170,-10],[170,10],[200,10],[200,-10],[170,-10]]],"spatialReference":{"wkid":4326}})");
    Geometry split(KX_GeometryEngine_normalizeCentralMeridian(across.get(), ok()));
    EXPECT_EQ(part_count(split.get()), 2u);
    EXPECT_NEAR(KX_GeometryEngine_area(split.get(), ok()), KX_GeometryEngine_area(across.get(), ok()), 1e-9);
}

}  // namespace
}  // namespace engine_test
